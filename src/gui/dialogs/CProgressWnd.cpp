// Progress window with Cancel / "&Close" (see CProgressWnd.h).
#include "CProgressWnd.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

CProgressWnd::CProgressWnd(QWidget* parent, const QString& title, bool smooth)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
    , m_title(title.isEmpty() ? QStringLiteral("Progress") : title)
{
    setWindowTitle(m_title);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setCursor(Qt::BusyCursor);
    m_text = new QLabel(this);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(false);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setMinimumHeight(QFontMetrics(m_text->font()).lineSpacing() * 4);
    m_bar = new QProgressBar(this);
    m_bar->setRange(m_lower, m_upper);
    m_bar->setTextVisible(!smooth);
    m_button = new QPushButton(QStringLiteral("Cancel"), this);
    connect(m_button, &QPushButton::clicked, this, &CProgressWnd::OnButton);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_text, 0, 0, 1, 2);
    layout->addWidget(m_bar, 1, 0);
    layout->addWidget(m_button, 1, 1);
    setFixedWidth(390);
}

CProgressWnd::~CProgressWnd()
{
    qApp->removeEventFilter(this);
}

void CProgressWnd::ShowProgressText(const QString& text)
{
    m_text->setText(text.left(511));
}

QString CProgressWnd::ProgressText() const
{
    return m_text->text();
}

void CProgressWnd::SetBarRange(int lower, int upper, int step)
{
    m_lower = lower;
    m_upper = upper;
    m_step = step;
    m_bar->setRange(lower, upper);
    m_bar->setVisible(lower != upper);
}

int CProgressWnd::MoveBar(int position)
{
    const int previous = m_position;
    m_position = position;
    const int percent = m_lower < m_upper ? static_cast<int>(qint64(position) * 100 / (qint64(m_upper) - m_lower)) : 0;
    if (percent != m_lastPercent) {
        m_lastPercent = percent;
        setWindowTitle(QStringLiteral("%1 [%2%]").arg(m_title).arg(percent));
    }
    m_bar->setValue(qBound(m_lower, position, m_upper));
    return previous;
}

void CProgressWnd::PollCancel(bool cancelOnEscape, bool holdOtherInput)
{
    if (m_cancelled)
        return;
    m_escapeCancels = cancelOnEscape;
    m_holdInput = holdOtherInput;
    if (holdOtherInput)
        qApp->installEventFilter(this);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (holdOtherInput)
        qApp->removeEventFilter(this);
    m_escapeCancels = false;
    m_holdInput = false;
}

void CProgressWnd::Finish(const QString& text, bool waitForClose)
{
    m_finished = true;
    ShowProgressText(text);
    m_button->setText(QStringLiteral("&Close"));
    if (!waitForClose || m_closed)
        return;
    QEventLoop loop;
    connect(m_button, &QPushButton::clicked, &loop, &QEventLoop::quit);
    if (!isVisible())
        show();
    loop.exec();
}

void CProgressWnd::OnButton()
{
    if (m_finished) {
        m_closed = true;
        hide();
        return;
    }
    m_cancelled = true;
}

void CProgressWnd::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        if (m_escapeCancels)
            m_cancelled = true;
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CProgressWnd::closeEvent(QCloseEvent* event)
{
    // The window is closed by its button: Cancel while running, "&Close" at the end.
    if (m_finished)
        m_button->click();
    event->ignore();
}

bool CProgressWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_holdInput)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel: {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this)
            return false;
        // Escape goes to the progress window, whatever had the focus.
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape
            && m_escapeCancels)
            m_cancelled = true;
        return true;
    }
    default:
        return false;
    }
}
