// Help topics in the user manual; see CHelp.h.
#include "app/CHelp.h"

#include "app/CUrlOpener.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWhatsThis>
#include <QWidget>

#ifndef QUARRANT_DOCS_DIR
#define QUARRANT_DOCS_DIR ""
#endif

int CHelp::TopicOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        bool ok = false;
        const int id = w->property("helpContext").toInt(&ok);
        if (ok && id > 0)
            return id;
    }
    return kDefaultTopic;
}

QString CHelp::ManualPath()
{
    const QString name = QStringLiteral("manual.html");
    const QStringList folders = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/quarrant-liquid"),
        QStringLiteral(QUARRANT_DOCS_DIR),
    };
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        const QFileInfo file(QDir(folder).filePath(name));
        if (file.isFile())
            return file.canonicalFilePath();
    }
    return {};
}

QUrl CHelp::TopicUrl(int topic)
{
    const QString path = ManualPath();
    if (path.isEmpty())
        return {};
    QUrl url = QUrl::fromLocalFile(path);
    if (topic > 0)
        url.setFragment(QStringLiteral("topic-%1").arg(topic));
    return url;
}

bool CHelp::ShowTopic(int topic)
{
    const QUrl url = TopicUrl(topic);
    if (url.isEmpty() || !CUrlOpener::Open(url)) {
        QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("Quarrant Liquid"),
                             url.isEmpty() ? QStringLiteral("The user manual (manual.html) was not found.")
                                           : QStringLiteral("The user manual could not be opened."));
        return false;
    }
    return true;
}

bool CHelp::ShowContextHelp()
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        focus = QApplication::activeWindow();
    return ShowTopic(TopicOf(focus));
}

void CHelp::EnterHelpMode()
{
    m_helpMode = true;
    QWhatsThis::enterWhatsThisMode();
}

bool CHelp::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // A frame's F1 shortcut takes the key before it is delivered; one that arrives here
        // was pressed where no shortcut answers it, such as in a dialog. Keys go to the widget
        // with the focus, so the topic comes from it.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier && watched->isWidgetType()) {
            ShowTopic(TopicOf(static_cast<QWidget*>(watched)));
            return true;
        }
        break;
    }
    case QEvent::WhatsThis:
        if (m_helpMode && watched->isWidgetType()) {
            m_helpMode = false;
            event->accept();
            const int topic = TopicOf(static_cast<QWidget*>(watched));
            // Leave the help mode after the click has been handled, then open the topic.
            QTimer::singleShot(0, [topic] {
                QWhatsThis::leaveWhatsThisMode();
                ShowTopic(topic);
            });
            return true;
        }
        break;
    case QEvent::LeaveWhatsThisMode:
        m_helpMode = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
