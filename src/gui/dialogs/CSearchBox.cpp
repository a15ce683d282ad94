// Search text box with its history (see CSearchBox.h).
#include "CSearchBox.h"

#include <QKeyEvent>
#include <QLineEdit>

CSearchBox::CSearchBox(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxCount(kHistorySize + 1);
    lineEdit()->installEventFilter(this);
}

bool CSearchBox::HandleEnter(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if (!event->isAutoRepeat()) {
        const QString text = currentText();
        insertItem(0, text);
        setCurrentIndex(0);
        while (count() > kHistorySize)
            removeItem(count() - 1);
    }
    event->accept();
    return true;
}

void CSearchBox::keyPressEvent(QKeyEvent* event)
{
    if (!HandleEnter(event))
        QComboBox::keyPressEvent(event);
}

bool CSearchBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::KeyPress && HandleEnter(static_cast<QKeyEvent*>(event)))
        return true;
    return QComboBox::eventFilter(watched, event);
}
