// Frame window with toolbar, status panes and idle updates; see CDocFrame.h.
#include "app/CDocFrame.h"

#include "app/CquillTrakApp.h"
#include "app/LockKeyState.h"
#include "app/ToolbarIcons.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

namespace {

// A status pane as wide as its sizing text.
QLabel* MakePane(QWidget* parent, const QString& sizingText)
{
    auto* label = new QLabel(parent);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(sizingText) + 8);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    return label;
}

} // namespace

CDocFrame::CDocFrame(CquillTrakApp& app, QWidget* parent) : QMainWindow(parent), m_app(app)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_statePane = MakePane(this, QStringLiteral("Line:    0    Column:    0"));
    m_portPane = MakePane(this, QStringLiteral("000.000.000.000:00000"));
    m_capPane = MakePane(this, QStringLiteral("CAP"));
    m_numPane = MakePane(this, QStringLiteral("NUM"));
    statusBar()->addPermanentWidget(m_statePane);
    statusBar()->addPermanentWidget(m_portPane);
    statusBar()->addPermanentWidget(m_capPane);
    statusBar()->addPermanentWidget(m_numPane);

    m_idle.setInterval(250);
    connect(&m_idle, &QTimer::timeout, this, &CDocFrame::UpdateIdle);
    m_idle.start();
}

CDocFrame::~CDocFrame()
{
    m_idle.stop();
    m_app.FrameDestroyed(this);
}

void CDocFrame::SetPaneText(int pane, const QString& text)
{
    switch (pane) {
    case kStatePane: m_statePane->setText(text); break;
    case kPortPane: m_portPane->setText(text); break;
    case kMessagePane: statusBar()->showMessage(text); break;
    default: break;
    }
}

QString CDocFrame::PaneText(int pane) const
{
    switch (pane) {
    case kStatePane: return m_statePane->text();
    case kPortPane: return m_portPane->text();
    case kMessagePane: return statusBar()->currentMessage();
    default: return {};
    }
}

void CDocFrame::UpdateIdle()
{
    UpdateIndicator();
    UpdateLockPanes();
    UpdateCommands();
}

void CDocFrame::UpdateLockPanes()
{
    // Shown while the lock is on; empty when it is off or the platform cannot tell.
    m_capPane->setText(LockKeyState::IsOn(LockKeyState::Key::CapsLock).value_or(false) ? QStringLiteral("CAP") : QString());
    m_numPane->setText(LockKeyState::IsOn(LockKeyState::Key::NumLock).value_or(false) ? QStringLiteral("NUM") : QString());
}

void CDocFrame::UpdateIndicator()
{
    m_statePane->setText(QString());
    m_portPane->setText(QString());
}

QAction* CDocFrame::AddCommand(int id, const QString& text, const QList<QKeySequence>& keys)
{
    auto* action = new QAction(text, this);
    if (!keys.isEmpty())
        action->setShortcuts(keys);
    action->setEnabled(false);
    action->setIcon(ToolbarIcons::Icon(id));
    m_commands.insert(id, action);
    addAction(action); // shortcuts work while the menu bar or toolbar is hidden
    return action;
}

void CDocFrame::CreateToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("Toolbar"));
    m_toolBar->setObjectName(QStringLiteral("Toolbar"));
    m_toolBar->setIconSize(QSize(16, 15));
    const int layout[] = {57600, 57601, 57603, 0, 57607, 0, 57635, 57634, 57637, 0, 150, 151, 0, 152, 153, 0, 57664};
    for (int id : layout) {
        if (id == 0)
            m_toolBar->addSeparator();
        else if (QAction* a = Command(id))
            m_toolBar->addAction(a);
    }
}

void CDocFrame::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_app.SetMainFrame(this);
    QMainWindow::changeEvent(event);
}
