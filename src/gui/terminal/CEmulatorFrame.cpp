// The terminal emulator window (see CEmulatorFrame.h).
#include "terminal/CEmulatorFrame.h"

#include "app/CHelp.h"
#include "app/CMainFrame.h"
#include "app/CquillTrakApp.h"
#include "dialogs/GuiUserInterface.h"
#include "terminal/CEmulatorView.h"

#include "DeviceConnection.h"
#include "TerminalCommandTable.h"
#include "UserInterface.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHash>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStyle>
#include <QTextDocument>

namespace {

// The terminal window of each configuration frame that has one.
QHash<const CMainFrame*, CEmulatorFrame*>& Windows()
{
    static QHash<const CMainFrame*, CEmulatorFrame*> windows;
    return windows;
}

const QString kGeneralHelp = QStringLiteral(
    "Type a device command, or PLAY, CLS, ECHO, PROMPT, ADDRESS, DELAY, WAITFOR, LOG or EXIT, and press Enter");

bool ClipboardHasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() && !data->text().isEmpty();
}

} // namespace

CEmulatorFrame* CEmulatorFrame::FindFor(const CMainFrame& owner)
{
    return Windows().value(&owner, nullptr);
}

CEmulatorFrame* CEmulatorFrame::OpenFor(CMainFrame& owner)
{
    if (CEmulatorFrame* existing = FindFor(owner)) {
        existing->show();
        existing->raise();
        existing->activateWindow();
        return existing;
    }
    auto* frame = new CEmulatorFrame(owner.App(), owner);
    frame->show();
    frame->m_view->OnInitialUpdate();
    frame->activateWindow();
    return frame;
}

void CEmulatorFrame::UpdateFor(const CMainFrame& owner)
{
    if (CEmulatorFrame* frame = FindFor(owner))
        frame->m_view->OnUpdate();
}

void CEmulatorFrame::CloseFor(CMainFrame& owner)
{
    CEmulatorFrame* frame = FindFor(owner);
    if (!frame)
        return;
    // The owner refuses to close while a line executes, so the window is idle here: close it
    // the ordinary way (the application's last-window rule sees it) and destroy it at once,
    // before the document and connection it uses.
    frame->m_view->RequestAbort();
    frame->close();
    delete frame;
}

CEmulatorFrame::CEmulatorFrame(CquillTrakApp& app, CMainFrame& owner)
    : CDocFrame(app)
    , m_owner(owner)
    , m_ui(app.MakeUserInterface(*this))
{
    Windows().insert(&owner, this);
    m_view = new CEmulatorView(owner.Connection(), *m_ui, this);
    setCentralWidget(m_view);
    CreateCommands();
    CreateMenus();
    setWindowIcon(QIcon::fromTheme(QStringLiteral("utilities-terminal"), style()->standardIcon(QStyle::SP_ComputerIcon)));
    UpdateTitle();
    resize(640, 420);

    // A macro line waits while a device operation of the configuration frame (Read All, a
    // log, an upgrade ...) is between its exchanges, so their commands never interleave.
    m_view->SetStepGate([this] {
        auto* ui = dynamic_cast<GuiUserInterface*>(&m_owner.Ui());
        return !ui || !ui->ProgressWindow();
    });
    connect(m_view, &CEmulatorView::ExitRequested, this, &QWidget::close);
    connect(m_view, &CEmulatorView::Idle, this, [this] {
        if (m_closeWhenIdle)
            close();
    });
    m_clipboardHasText = ClipboardHasText();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { m_clipboardHasText = ClipboardHasText(); });
    owner.installEventFilter(this);

    SetPaneText(kStatePane, QString());
    SetPaneText(kPortPane, QString());
    UpdateIdle();
}

CEmulatorFrame::~CEmulatorFrame()
{
    Windows().remove(&m_owner);
    m_owner.removeEventFilter(this);
    // The view's session ends its macros and closes the log through the user interface, so it
    // goes while that still exists.
    delete m_view;
    m_view = nullptr;
}

void CEmulatorFrame::UpdateTitle()
{
    const QString title = QStringLiteral("Terminal Emulator - ") + m_owner.Document().title;
    if (windowTitle() != title)
        setWindowTitle(title);
}

void CEmulatorFrame::UpdateIndicator()
{
    SetPaneText(kStatePane, m_owner.Connection().StateText());
    SetPaneText(kPortPane, m_owner.Connection().PortStatusText());
}

void CEmulatorFrame::UpdateCommands()
{
    UpdateTitle();
    if (!m_view)
        return;
    // Undo, Cut, Copy and Paste act on the edit control that has the focus.
    QWidget* focus = focusWidget();
    auto* line = qobject_cast<QLineEdit*>(focus);
    auto* text = qobject_cast<QPlainTextEdit*>(focus);
    const bool edit = line || text;
    const bool readOnly = line ? line->isReadOnly() : text ? text->isReadOnly() : true;
    const bool selection = line ? line->hasSelectedText() : text ? text->textCursor().hasSelection() : false;
    const bool canUndo =
        line ? line->isUndoAvailable() : text ? !text->isReadOnly() && text->document()->isUndoAvailable() : false;
    Command(57634)->setEnabled(edit && selection);
    Command(57635)->setEnabled(edit && !readOnly && selection);
    Command(57637)->setEnabled(edit && !readOnly && m_clipboardHasText);
    Command(57643)->setEnabled(edit && canUndo);
    Command(59393)->setChecked(statusBar()->isVisible());
}

void CEmulatorFrame::EditCommand(int id)
{
    // QLineEdit and QPlainTextEdit name the four operations alike.
    auto apply = [id](auto* edit) {
        switch (id) {
        case 57643: edit->undo(); break;
        case 57635: edit->cut(); break;
        case 57634: edit->copy(); break;
        case 57637: edit->paste(); break;
        default: break;
        }
    };
    QWidget* focus = focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focus))
        apply(line);
    else if (auto* text = qobject_cast<QPlainTextEdit*>(focus))
        apply(text);
    UpdateIdle();
}

void CEmulatorFrame::ShowHelp()
{
    // The help topic of the command being typed: its menu item's help text in the message
    // pane (else how to use the window), and the manual at the topic.
    const int topic = m_view->HelpTopic();
    const TerminalMenuItem* item = TerminalCommandTable::FindItem(topic + 10000);
    SetPaneText(kMessagePane, item ? QString::fromLatin1(item->help) : kGeneralHelp);
    CHelp::ShowTopic(topic);
}

void CEmulatorFrame::CreateCommands()
{
    using K = QKeySequence;
    auto on = [this](QAction* a, auto handler) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    on(AddCommand(57602, QStringLiteral("&Close")), [this] { close(); });
    on(AddCommand(57665, QStringLiteral("E&xit")), [this] { App().CloseAllFrames(); });

    AddCommand(57643, QStringLiteral("&Undo\tCtrl+Z"));
    AddCommand(57635, QStringLiteral("Cu&t\tCtrl+X"));
    AddCommand(57634, QStringLiteral("&Copy\tCtrl+C"), {K(Qt::CTRL | Qt::Key_C)});
    AddCommand(57637, QStringLiteral("&Paste\tCtrl+V"), {K(Qt::CTRL | Qt::Key_V)});
    for (int id : {57643, 57635, 57634, 57637})
        connect(Command(id), &QAction::triggered, this, [this, id] { EditCommand(id); });

    for (const TerminalMenuItem& item : TerminalCommandTable::MenuItems()) {
        QAction* a = on(AddCommand(item.id, QString::fromLatin1(item.label)), [this, id = item.id] {
            m_view->ChooseCommand(id);
        });
        a->setStatusTip(QString::fromLatin1(item.help));
    }
    // F4 chooses the EQ item; the item's label already names the key.
    auto* f4 = new QAction(this);
    f4->setShortcut(K(Qt::Key_F4));
    connect(f4, &QAction::triggered, this, [this] { m_view->ChooseCommand(TerminalCommandTable::kEqItem); });
    addAction(f4);

    on(AddCommand(59393, QStringLiteral("&Status Bar")), [this](bool checked) { statusBar()->setVisible(checked); })
        ->setCheckable(true);
    on(AddCommand(57667, QStringLiteral("&Help Topics")), [] { CHelp::ShowContents(); });
    on(AddCommand(57670, QStringLiteral("Help"), {K(Qt::Key_F1)}), [this] { ShowHelp(); });
    on(AddCommand(57664, QStringLiteral("&About Quarrant for Corvantix.net Liquid...")), [this] { App().About(this); });
}

void CEmulatorFrame::CreateMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(Command(57602));
    file->addSeparator();
    file->addAction(Command(57665));

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->addAction(Command(57643));
    edit->addSeparator();
    for (int id : {57635, 57634, 57637})
        edit->addAction(Command(id));

    // The Commands menu: one submenu per group, in the order of the groups' first items.
    QMenu* commands = bar->addMenu(QStringLiteral("&Commands"));
    QHash<QString, QMenu*> submenus;
    for (const TerminalMenuItem& item : TerminalCommandTable::MenuItems()) {
        const QString name = QString::fromLatin1(item.submenu);
        QMenu*& submenu = submenus[name];
        if (!submenu)
            submenu = commands->addMenu(name);
        if (item.separatorBefore)
            submenu->addSeparator();
        submenu->addAction(Command(item.id));
    }

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->addAction(Command(59393));

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(Command(57667));
    help->addSeparator();
    help->addAction(Command(57664));

    for (QMenu* m : {file, edit, commands, view, help})
        connect(m, &QMenu::aboutToShow, this, &CDocFrame::UpdateIdle);
}

void CEmulatorFrame::closeEvent(QCloseEvent* event)
{
    if (m_view && m_view->IsBusy()) {
        // A line is executing further down this very call stack (a DELAY, a WAITFOR, a SHELL):
        // it is asked to end, and the window closes once it has.
        m_view->RequestAbort();
        m_closeWhenIdle = true;
        event->ignore();
        return;
    }
    App().FrameClosing(this);
    event->accept();
}

bool CEmulatorFrame::eventFilter(QObject* watched, QEvent* event)
{
    // The configuration frame waits for a running line to end before it closes, since the
    // line uses its document's link.
    if (watched == &m_owner && event->type() == QEvent::Close && m_view && m_view->IsBusy()) {
        m_view->RequestAbort();
        event->ignore();
        return true;
    }
    return CDocFrame::eventFilter(watched, event);
}
