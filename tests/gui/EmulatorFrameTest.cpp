// The terminal emulator window on a configuration document connected to the simulator, with
// the desktop user interface (real message boxes, progress window and status panes): the input
// line's upper-casing and its Enter rule, the Commands menu (items that send at once and items
// that wait for arguments), a rejection's text in the output, macros to their end and aborted
// from the progress window, Alt+F10 and EXIT, the Edit menu's rules, and a configuration frame
// that closes its terminal window before it goes.
#include <gtest/gtest.h>

#include "../e2e/SimProcess.h"
#include "app/CMainFrame.h"
#include "app/CUrlOpener.h"
#include "app/CquillTrakApp.h"
#include "dialogs/CProgressWnd.h"
#include "dialogs/GuiUserInterface.h"
#include "terminal/CEmulatorFrame.h"
#include "terminal/CEmulatorView.h"

#include "DeviceAddress.h"
#include "TerminalCommandTable.h"
#include "TerminalSession.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QThread>
#include <QTimer>
#include <QUrl>

// Readable failures: texts print as text.
static void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

// Processes events until the condition holds; false when it never did (bounded at 20 s).
template <class Condition>
bool WaitUntil(Condition condition)
{
    const QDeadlineTimer deadline(20000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

// The last echo line of the output (the output shows line ends as plain line breaks).
QString LastLine(const CEmulatorView& view)
{
    const QStringList lines = view.OutputView()->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.last();
}

QString Echo(int address, const QString& command, const QString& reply)
{
    return TerminalSession::EchoWithAddress(0, address, command, reply).chopped(2);
}

QString EchoPlain(const QString& command, const QString& reply)
{
    return TerminalSession::EchoWithoutAddress(0, command, reply).chopped(2);
}

class EmulatorFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_oldCurrent = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        // A box nobody expected would wait forever: it is recorded and closed.
        QObject::connect(&m_boxWatch, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                m_boxes << box->text();
                box->reject();
            }
        });
        m_boxWatch.start(50);
    }

    void TearDown() override
    {
        m_boxWatch.stop();
        QDir::setCurrent(m_oldCurrent);
        EXPECT_TRUE(m_boxes.isEmpty()) << m_boxes.join(QLatin1String(" | ")).toStdString();
    }

    // A configuration document on the simulator, online, with its terminal window open.
    CEmulatorFrame* OpenTerminal()
    {
        const std::optional<DeviceAddress> address = m_sim.StartForAddress();
        if (!address)
            return nullptr;
        m_frame = m_app.NewConfiguration(address);
        m_frame->UpdateIdle();
        EXPECT_EQ(m_frame->PaneText(CDocFrame::kStatePane), QStringLiteral(" *ONLINE* "));
        m_frame->Command(32771)->trigger();
        CEmulatorFrame* terminal = CEmulatorFrame::FindFor(*m_frame);
        EXPECT_NE(terminal, nullptr);
        return terminal;
    }

    static void Type(CEmulatorView& view, const char* keys) { QTest::keyClicks(view.InputLine(), QLatin1String(keys)); }
    static void Enter(CEmulatorView& view) { QTest::keyClick(view.InputLine(), Qt::Key_Return); }

    static QString Message(const CEmulatorFrame& terminal) { return terminal.PaneText(CDocFrame::kMessagePane); }

    QTemporaryDir m_dir;
    QString m_oldCurrent;
    SimProcess m_sim;
    CquillTrakApp m_app;
    QPointer<CMainFrame> m_frame;
    QTimer m_boxWatch;
    QStringList m_boxes;
};

TEST_F(EmulatorFrameTest, TypedLinesAreUpperCasedAndEnterSendsLinesOfTwoOrMoreCharacters)
{
    CEmulatorFrame* terminal = OpenTerminal();
    ASSERT_NE(terminal, nullptr);
    CEmulatorView& view = *terminal->View();
    EXPECT_EQ(terminal->windowTitle(), QStringLiteral("Terminal Emulator - Untitled"));
    EXPECT_EQ(view.ArmSelector()->currentText(), QStringLiteral("Arm 1"));
    EXPECT_FALSE(view.ArmSelector()->isEnabled());
    EXPECT_EQ(view.HelpTopic(), 130);

    // One character is not a command: Enter leaves it in the input and sends nothing.
    Type(view, "e");
    EXPECT_EQ(view.InputLine()->text(), QStringLiteral("E"));
    Enter(view);
    EXPECT_EQ(view.InputLine()->text(), QStringLiteral("E"));
    EXPECT_TRUE(view.OutputView()->toPlainText().isEmpty());

    Type(view, "q");
    EXPECT_EQ(view.InputLine()->text(), QStringLiteral("EQ"));
    EXPECT_EQ(view.HelpTopic(), 8101);
    EXPECT_EQ(Message(*terminal), QStringLiteral("Ready"));
    Enter(view);
    EXPECT_TRUE(view.InputLine()->text().isEmpty());
    EXPECT_FALSE(view.Session().LastReply().isEmpty());
    EXPECT_EQ(LastLine(view), Echo(1, QStringLiteral("EQ"), view.Session().LastReply()));

    // From the eighth character on, the case typed is kept.
    Type(view, "echo hello");
    EXPECT_EQ(view.InputLine()->text(), QStringLiteral("ECHO HEllo"));
    Enter(view);
    EXPECT_EQ(LastLine(view), EchoPlain(QStringLiteral("HEllo"), QString()));

    // A rejection shows its number and text as the reply, without a message box.
    Type(view, "pv sy 998");
    Enter(view);
    EXPECT_EQ(LastLine(view), Echo(1, QStringLiteral("PV SY 998"), QStringLiteral("NO14 - Program Code Not Used")));

    // The status panes are the configuration frame's.
    terminal->UpdateIdle();
    EXPECT_EQ(terminal->PaneText(CDocFrame::kStatePane), QStringLiteral(" *ONLINE* "));
    EXPECT_EQ(terminal->PaneText(CDocFrame::kPortPane), m_frame->PaneText(CDocFrame::kPortPane));
    EXPECT_FALSE(terminal->PaneText(CDocFrame::kPortPane).isEmpty());
}

TEST_F(EmulatorFrameTest, CommandsMenuSendsCarriageReturnItemsAtOnceAndLeavesArgumentPrefixesInTheInput)
{
    CEmulatorFrame* terminal = OpenTerminal();
    ASSERT_NE(terminal, nullptr);
    CEmulatorView& view = *terminal->View();

    // Every item of the table is in its submenu, with its help text as the status prompt.
    QMenu* commands = nullptr;
    for (QAction* a : terminal->menuBar()->actions()) {
        if (a->text() == QStringLiteral("&Commands"))
            commands = a->menu();
    }
    ASSERT_NE(commands, nullptr);
    QStringList submenus;
    int items = 0;
    for (QAction* a : commands->actions()) {
        ASSERT_NE(a->menu(), nullptr);
        submenus << a->text();
        for (QAction* item : a->menu()->actions()) {
            if (item->isSeparator())
                continue;
            ++items;
            const TerminalMenuItem* entry = nullptr;
            for (const TerminalMenuItem& m : TerminalCommandTable::MenuItems()) {
                if (item == terminal->Command(m.id))
                    entry = &m;
            }
            ASSERT_NE(entry, nullptr) << item->text().toStdString();
            EXPECT_EQ(a->text(), QLatin1String(entry->submenu));
            EXPECT_EQ(item->text(), QLatin1String(entry->label));
            EXPECT_EQ(item->statusTip(), QLatin1String(entry->help));
        }
    }
    EXPECT_EQ(items, int(TerminalCommandTable::MenuItems().size()));
    EXPECT_EQ(submenus, (QStringList{"Status", "System Data", "Transaction Data", "Historical Data", "User Data",
                                     "Run Time Display", "Control"}));

    // PV waits for its arguments.
    terminal->Command(18202)->trigger();
    EXPECT_EQ(view.InputLine()->text(), QStringLiteral("PV "));
    EXPECT_EQ(view.InputLine()->cursorPosition(), 3);
    EXPECT_EQ(view.HelpTopic(), 8202);
    EXPECT_TRUE(view.OutputView()->toPlainText().isEmpty());

    // F1 names the command being typed: its help text, and the manual at its topic.
    terminal->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(terminal));
    QList<QUrl> opened;
    CUrlOpener::SetHandler([&opened](const QUrl& url) {
        opened << url;
        return true;
    });
    QTest::keyClick(view.InputLine(), Qt::Key_F1);
    CUrlOpener::SetHandler({});
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].fragment(), QStringLiteral("topic-8202"));
    EXPECT_EQ(Message(*terminal), QLatin1String(TerminalCommandTable::FindItem(18202)->help));

    Type(view, "sy 111");
    Enter(view);
    EXPECT_EQ(LastLine(view), Echo(1, QStringLiteral("PV SY 111"), view.Session().LastReply()));
    EXPECT_FALSE(view.Session().LastReply().startsWith(QLatin1String("NO")));

    // EQ is sent at once, from the menu and with F4.
    terminal->Command(18101)->trigger();
    EXPECT_TRUE(view.InputLine()->text().isEmpty());
    EXPECT_EQ(LastLine(view), Echo(1, QStringLiteral("EQ"), view.Session().LastReply()));
    const int lines = view.OutputView()->blockCount();
    QTest::keyClick(view.InputLine(), Qt::Key_F4);
    EXPECT_EQ(view.OutputView()->blockCount(), lines + 1);
    EXPECT_EQ(LastLine(view), Echo(1, QStringLiteral("EQ"), view.Session().LastReply()));
}

TEST_F(EmulatorFrameTest, MacroRunsToCompleteAndCancelAbortsIt)
{
    CEmulatorFrame* terminal = OpenTerminal();
    ASSERT_NE(terminal, nullptr);
    CEmulatorView& view = *terminal->View();
    auto write = [this](const char* name, const char* text) {
        QFile f(m_dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    // Typed in lower case, the name arrives as MYmacro and still finds the lower-case file.
    write("mymacro.mac", "ECHO start\nEQ\n");
    write("A.MAC", "ECHO before\nDELAY 30\nECHO after\n");

    Type(view, "play mymacro");
    Enter(view);
    ASSERT_TRUE(WaitUntil([&] { return Message(*terminal) == QStringLiteral("Macro complete"); }))
        << Message(*terminal).toStdString();
    const QStringList lines = view.OutputView()->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], EchoPlain(QStringLiteral("PLAY MYmacro"), QString()));
    EXPECT_EQ(lines[1], EchoPlain(QStringLiteral("start"), QString()));
    EXPECT_EQ(lines[2], Echo(1, QStringLiteral("EQ"), view.Session().LastReply()));
    EXPECT_FALSE(view.Session().MacroRunning());

    // While an operation of the configuration frame has its progress window up, a macro waits
    // after its PLAY line, and goes on when the operation ends.
    auto* frameUi = dynamic_cast<GuiUserInterface*>(&m_frame->Ui());
    ASSERT_NE(frameUi, nullptr);
    frameUi->ProgressBegin(QStringLiteral("Reading"), QString(), 0, 10);
    Type(view, "cls");
    Enter(view);
    Type(view, "play mymacro");
    Enter(view);
    QTest::qWait(300);
    EXPECT_EQ(view.OutputView()->toPlainText().count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(view.Session().MacroRunning());
    frameUi->ProgressEnd();
    ASSERT_TRUE(WaitUntil([&] { return !view.Session().MacroRunning(); }));
    EXPECT_EQ(view.OutputView()->toPlainText().count(QLatin1Char('\n')), 3);

    // Cancel in the progress window during the DELAY ends the macro before its last line.
    QString progressText;
    std::function<void()> cancel = [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<CProgressWnd*>(w);
            if (progress && progress->isVisible() && progress->ProgressText().startsWith(QLatin1String("Delaying"))) {
                progressText = progress->ProgressText();
                progress->Button()->click();
                return;
            }
        }
        QTimer::singleShot(20, cancel);
    };
    QTimer::singleShot(0, cancel);
    Type(view, "play a");
    Enter(view);
    ASSERT_TRUE(WaitUntil([&] { return Message(*terminal) == QStringLiteral("Macro aborted by user"); }))
        << Message(*terminal).toStdString();
    EXPECT_EQ(progressText, QStringLiteral("Delaying 30 secs"));
    EXPECT_EQ(LastLine(view), EchoPlain(QStringLiteral("DELAY 30"), QStringLiteral("Delaying 30 secs")));
    EXPECT_FALSE(view.Session().MacroRunning());
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<CProgressWnd*>(w) && w->isVisible());
}

TEST_F(EmulatorFrameTest, LongOutputKeepsTheSessionsLastCharactersWithTheNewestLineInView)
{
    CEmulatorFrame* terminal = OpenTerminal();
    ASSERT_NE(terminal, nullptr);
    CEmulatorView& view = *terminal->View();
    QFile macro(m_dir.filePath(QStringLiteral("L.MAC")));
    ASSERT_TRUE(macro.open(QIODevice::WriteOnly));
    for (int i = 0; i < 500; ++i)
        macro.write(QStringLiteral("ECHO line %1 %2\n").arg(i, 3, 10, QLatin1Char('0')).arg(QString(40, QLatin1Char('x'))).toLatin1());
    macro.close();

    Type(view, "play l");
    Enter(view);
    ASSERT_TRUE(WaitUntil([&] { return !view.Session().MacroRunning(); }));
    const QString output = view.Session().Output();
    // Cut to its last 20000 characters whenever it grew past 20256.
    EXPECT_GE(output.size(), TerminalSession::kOutputKept);
    EXPECT_LE(output.size(), TerminalSession::kOutputLimit);
    EXPECT_FALSE(output.startsWith(QLatin1String("PLAY L")));
    QString shown = output;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    EXPECT_EQ(view.OutputView()->toPlainText(), shown);
    EXPECT_TRUE(LastLine(view).startsWith(QLatin1String("line 499 ")));
    EXPECT_TRUE(view.OutputView()->textCursor().atEnd());
    QScrollBar* bar = view.OutputView()->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(EmulatorFrameTest, TheConfigurationFramesViewUpdateEmptiesTheInputAndShowsTheOutputsEnd)
{
    CEmulatorFrame* terminal = OpenTerminal();
    ASSERT_NE(terminal, nullptr);
    CEmulatorView& view = *terminal->View();
    Type(view, "eq");
    Enter(view);
    EXPECT_EQ(view.Session().LastCommand(), QStringLiteral("EQ"));
    Type(view, "pv sy");
    ASSERT_EQ(view.InputLine()->text(), QStringLiteral("PV SY"));
    ASSERT_NE(view.HelpTopic(), 130);
    const QString output = view.OutputView()->toPlainText();
    QTextCursor top = view.OutputView()->textCursor();
    top.movePosition(QTextCursor::Start);
    view.OutputView()->setTextCursor(top);

    m_frame->UpdateAllViews();
    EXPECT_TRUE(view.InputLine()->text().isEmpty());
    EXPECT_TRUE(view.Session().LastCommand().isEmpty());
    EXPECT_EQ(view.HelpTopic(), 130);
    EXPECT_EQ(view.OutputView()->toPlainText(), output);
    EXPECT_TRUE(view.OutputView()->textCursor().atEnd());
}

TEST_F(EmulatorFrameTest, AltF10ActivatesTheOneTerminalWindowAndExitClosesIt)
{
    CEmulatorFrame* first = OpenTerminal();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(m_frame->Command(32771)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F10));

    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.data()));
    QTest::keyClick(m_frame.data(), Qt::Key_F10, Qt::AltModifier);
    EXPECT_EQ(CEmulatorFrame::FindFor(*m_frame), first);
    EXPECT_TRUE(QTest::qWaitForWindowActive(first));
    int terminals = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        terminals += qobject_cast<CEmulatorFrame*>(w) ? 1 : 0;
    EXPECT_EQ(terminals, 1);
    EXPECT_EQ(m_app.CountOpenDocuments(), 1);

    QPointer<CEmulatorFrame> watch = first;
    Type(*first->View(), "exit");
    Enter(*first->View());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(CEmulatorFrame::FindFor(*m_frame), nullptr);
    EXPECT_FALSE(m_frame.isNull());
}

TEST_F(EmulatorFrameTest, ConfigurationFrameWaitsForARunningLineAndClosesItsTerminalFirst)
{
    CEmulatorFrame* terminal = OpenTerminal();
    ASSERT_NE(terminal, nullptr);
    QPointer<CEmulatorFrame> watch = terminal;
    Type(*terminal->View(), "log t.log");
    Enter(*terminal->View());
    ASSERT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("T.Log"))));

    // While the DELAY runs, closing the configuration frame is refused and ends the DELAY.
    bool refused = false;
    std::function<void()> closeOwner = [&] {
        if (!terminal->View()->IsBusy()) {
            QTimer::singleShot(20, closeOwner);
            return;
        }
        refused = !m_frame->close();
    };
    QTimer::singleShot(0, closeOwner);
    Type(*terminal->View(), "delay 30");
    Enter(*terminal->View());
    EXPECT_TRUE(refused);
    EXPECT_EQ(Message(*terminal), QStringLiteral("Ready"));
    EXPECT_EQ(LastLine(*terminal->View()), EchoPlain(QStringLiteral("DELAY 30"), QStringLiteral("Delaying 30 secs")));
    ASSERT_FALSE(m_frame.isNull());

    // Idle, it closes, and its terminal window goes before its document and connection.
    EXPECT_TRUE(m_frame->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(m_frame.isNull());
    EXPECT_TRUE(watch.isNull());
    // The log was written to its end and closed with the window.
    QFile log(m_dir.filePath(QStringLiteral("T.Log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().endsWith(
        TerminalSession::EchoWithoutAddress(0, QStringLiteral("DELAY 30"), QStringLiteral("Delaying 30 secs")).toLatin1()));
}

TEST_F(EmulatorFrameTest, EditCommandsFollowTheFocusedEditControl)
{
    CEmulatorFrame* terminal = OpenTerminal();
    ASSERT_NE(terminal, nullptr);
    CEmulatorView& view = *terminal->View();
    Type(view, "eq");
    Enter(view);
    QApplication::clipboard()->setText(QStringLiteral("GD"));

    struct Case {
        QWidget* focus;
        bool select;
        bool copy, cut, paste;
    };
    const Case cases[] = {
        {view.OutputView(), true, true, false, false},
        {view.OutputView(), false, false, false, false},
        {view.InputLine(), false, false, false, true},
    };
    for (const Case& c : cases) {
        c.focus->setFocus();
        if (c.focus == view.OutputView()) {
            QTextCursor cursor = view.OutputView()->textCursor();
            cursor.movePosition(QTextCursor::Start);
            if (c.select)
                cursor.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
            view.OutputView()->setTextCursor(cursor);
        }
        terminal->UpdateIdle();
        EXPECT_EQ(terminal->Command(57634)->isEnabled(), c.copy);
        EXPECT_EQ(terminal->Command(57635)->isEnabled(), c.cut);
        EXPECT_EQ(terminal->Command(57637)->isEnabled(), c.paste);
    }

    // Paste into the input goes through the typing rules: "GD" is shown, and sent by Enter.
    terminal->Command(57637)->trigger();
    EXPECT_EQ(view.InputLine()->text(), QStringLiteral("GD"));
    view.InputLine()->selectAll();
    terminal->UpdateIdle();
    EXPECT_TRUE(terminal->Command(57635)->isEnabled());
    EXPECT_TRUE(terminal->Command(57634)->isEnabled());
    Enter(view);
    EXPECT_EQ(LastLine(view), Echo(1, QStringLiteral("GD"), view.Session().LastReply()));
}

} // namespace
