// The terminal engine against an in-process fake device: echo lines and the output's trim,
// device replies and failures, the terminal commands, nested macros with their indentation,
// abort, WAITFOR against scripted status replies, and the command menus' data.
#include "ConfigFakeDevice.h"
#include "ScriptedUserInterface.h"
#include "TerminalCommandTable.h"
#include "TerminalSession.h"
#include "WaitFlagTable.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString Blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}

TEST(TerminalEcho, LineFormats)
{
    const QString longCommand = QStringLiteral("PC SY 111 ") + QString(40, QLatin1Char('X'));
    const struct {
        bool withAddress;
        int depth;
        int address;
        QString command;
        QString reply;
        QString expected;
    } cases[] = {
        {true, 0, 1, QStringLiteral("EQ"), QStringLiteral("0000"), "01EQ" + Blanks(38) + " 0000\r\n"},
        {true, 1, 7, QStringLiteral("EQ"), QString(), "  07EQ" + Blanks(36) + " \r\n"},
        {true, 0, 0x1FF, QStringLiteral("GD"), QStringLiteral("x"), "255GD" + Blanks(38) + " x\r\n"},
        {true, 2, 1, longCommand, QStringLiteral("r"), Blanks(4) + "01" + longCommand.left(36) + " r\r\n"},
        {false, 0, 1, QStringLiteral("PLAY A"), QString(), "PLAY A" + Blanks(36) + " \r\n"},
        {false, 1, 1, QStringLiteral("DELAY 1"), QStringLiteral("Delaying 1 secs"),
         "  DELAY 1" + Blanks(33) + " Delaying 1 secs\r\n"},
        {false, 0, 1, longCommand, QStringLiteral("r"), longCommand + " r\r\n"},
    };
    for (const auto& c : cases) {
        const QString line = c.withAddress ? TerminalSession::EchoWithAddress(c.depth, c.address, c.command, c.reply)
                                           : TerminalSession::EchoWithoutAddress(c.depth, c.command, c.reply);
        EXPECT_EQ(line, c.expected) << c.command.toStdString();
    }
}

TEST(TerminalEcho, OutputKeepsItsLast20000CharactersPast20256)
{
    ScriptedUserInterface ui;
    TerminalSession t(ui);
    const QString line = TerminalSession::EchoWithoutAddress(0, QStringLiteral("x"), QString()); // 46 characters
    for (const int start : {20256 - 46, 20256 - 45}) {
        const QString before(start, QLatin1Char('a'));
        t.SetOutput(before);
        t.Execute(QStringLiteral("ECHO x"));
        const QString expected = before + line;
        if (expected.size() <= 20256)
            EXPECT_EQ(t.Output(), expected);
        else
            EXPECT_EQ(t.Output(), expected.right(20000));
    }
}

struct TerminalLines : ::testing::Test {
    TerminalLines()
        : link(device)
        , terminal(ui)
    {
        terminal.SetLink(&link);
        terminal.SetUnitAddress(3);
        terminal.SetReportDirectory(dir.path());
    }
    QString Write(const QString& name, const QByteArray& text)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    }
    // The output's lines with the runs of padding blanks squeezed to one.
    QStringList Squeezed() const
    {
        QStringList lines = terminal.Output().split(QStringLiteral("\r\n"));
        lines.removeLast();
        for (QString& l : lines) {
            qsizetype indent = 0;
            while (indent < l.size() && l[indent] == QLatin1Char(' '))
                ++indent;
            l = Blanks(int(indent)) + l.mid(indent).replace(QRegularExpression(QStringLiteral(" {2,}")), QStringLiteral(" ")).trimmed();
        }
        return lines;
    }

    QTemporaryDir dir;
    ScriptedUserInterface ui;
    FakeDevice device;
    FakeLink link;
    TerminalSession terminal;
};

TEST_F(TerminalLines, DeviceRepliesAndFailuresAsEchoLines)
{
    device.script["PV SY 999"].push_back(FakeReply::Rejected(14));
    device.script["GD"].push_back(FakeReply::Timeout());
    device.script["RS"].push_back(FakeReply::SendFailure());
    for (const char* line : {"PV SY 111", "PV SY 999", "GD", "RS"})
        EXPECT_TRUE(terminal.SubmitTypedLine(QLatin1String(line)));
    EXPECT_EQ(Squeezed(), (QStringList{QStringLiteral("03PV SY 111 PV SY 111 1"),
                                       QStringLiteral("03PV SY 999 NO14 - Program Code Not Used"),
                                       QStringLiteral("03GD Timeout waiting for response"),
                                       QStringLiteral("03RS Error receiving response")}));
    // A rejection is only shown as the reply; the time-out and the send failure also in a box.
    EXPECT_EQ(ui.MessageTexts(), (QStringList{QStringLiteral("Timeout waiting for response"), QStringLiteral("Error receiving response")}));
    EXPECT_EQ(link.UnitAddress(), 3);
    EXPECT_EQ(ui.waitCursorDepth, 0);
}

TEST_F(TerminalLines, TypedLinesShorterThanTwoCharactersAreNotExecutedAndNoLinkSendsNothing)
{
    EXPECT_FALSE(terminal.SubmitTypedLine(QStringLiteral("E")));
    EXPECT_TRUE(terminal.Output().isEmpty());
    terminal.SetLink(nullptr);
    EXPECT_TRUE(terminal.SubmitTypedLine(QStringLiteral("EQ")));
    EXPECT_TRUE(device.sent.empty());
    EXPECT_EQ(ui.MessageTexts(), QStringList{QStringLiteral("Communications Not Yet configured.\n") + Blanks(23)
                                             + QStringLiteral("Close Terminal Emulator and select 'Options|Options for this Document...'")});
    EXPECT_EQ(Squeezed(), QStringList{QStringLiteral("03EQ")});
}

TEST_F(TerminalLines, TerminalCommandsIgnoreCase)
{
    device.script["EQ"].push_back({CommOk, "0000", 0, false});
    for (const char* line : {"echo   Hello", "address 12x", "EQ", "prompt  Insert card", "ExIt"})
        terminal.SubmitTypedLine(QLatin1String(line));
    EXPECT_EQ(Squeezed(), (QStringList{QStringLiteral("Hello"), QStringLiteral("address 12x Switched to address 12"),
                                       QStringLiteral("03EQ 0000"), QStringLiteral("Insert card")}));
    EXPECT_EQ(ui.MessageTexts(), QStringList{QStringLiteral("Insert card")});
    EXPECT_TRUE(terminal.ExitRequested());
    terminal.SubmitTypedLine(QStringLiteral("cls"));
    EXPECT_TRUE(terminal.Output().isEmpty());
}

TEST_F(TerminalLines, APromptHandlerReplacesTheMessageBox)
{
    QStringList prompts;
    terminal.SetPromptHandler([&prompts](const QString& text) { prompts << text; });
    terminal.SubmitTypedLine(QStringLiteral("PROMPT Insert card"));
    EXPECT_EQ(prompts, QStringList{QStringLiteral("Insert card")});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Squeezed(), QStringList{QStringLiteral("Insert card")});
}

TEST_F(TerminalLines, AddressHoldsForMacroLinesUntilALineIsTyped)
{
    Write(QStringLiteral("A.MAC"), "ADDRESS 5\nEQ\n");
    terminal.SubmitTypedLine(QStringLiteral("PLAY ") + dir.filePath(QStringLiteral("A")));
    terminal.RunMacros();
    terminal.SubmitTypedLine(QStringLiteral("EQ"));
    const QStringList lines = Squeezed();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("05EQ")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("03EQ")));
}

TEST_F(TerminalLines, TypedLogWritesHeaderAndEveryEchoLine)
{
    const QString path = dir.filePath(QStringLiteral("t.log"));
    terminal.SubmitTypedLine(QStringLiteral("LOG"));
    EXPECT_EQ(ui.MessageTexts(), QStringList{QStringLiteral("Error: Must specify log file name")});
    terminal.SubmitTypedLine(QStringLiteral("LOG ") + path);
    EXPECT_EQ(ui.statusTexts[2], QStringLiteral("Logging... type LOG with no arguments to close log file"));
    terminal.SubmitTypedLine(QStringLiteral("ECHO one"));
    terminal.SubmitTypedLine(QStringLiteral("PV SY 111"));
    terminal.SubmitTypedLine(QStringLiteral("LOG anything"));
    EXPECT_EQ(ui.statusTexts[2], QStringLiteral("Ready"));
    terminal.SubmitTypedLine(QStringLiteral("ECHO after"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    const qsizetype header = text.indexOf("\r\n") + 2;
    EXPECT_TRUE(text.startsWith("Log started "));
    EXPECT_EQ(text.mid(header), (TerminalSession::EchoWithoutAddress(0, QStringLiteral("one"), QString())
                                 + TerminalSession::EchoWithAddress(0, 3, QStringLiteral("PV SY 111"), QStringLiteral("PV SY 111 1")))
                                    .toLatin1());
    EXPECT_FALSE(text.contains("after"));
}

TEST_F(TerminalLines, NestedPlayIndentsAndReturnsToTheLineAfterIt)
{
    Write(QStringLiteral("INNER.MAC"), "ECHO b\n\nLABEL:\nEQ\n");
    Write(QStringLiteral("OUTER.MAC"), "ECHO a\nPLAY " + dir.filePath(QStringLiteral("INNER")).toLatin1() + "\nECHO c\n");
    device.script["EQ"].push_back({CommOk, "0000", 0, false});
    terminal.SubmitTypedLine(QStringLiteral("PLAY ") + dir.filePath(QStringLiteral("OUTER")));
    EXPECT_EQ(terminal.Depth(), 0);
    terminal.RunMacros();
    const QString play = QStringLiteral("PLAY ") + dir.filePath(QStringLiteral("INNER"));
    EXPECT_EQ(Squeezed(), (QStringList{QStringLiteral("PLAY ") + dir.filePath(QStringLiteral("OUTER")), QStringLiteral("a"),
                                       play, QStringLiteral("  b"), QStringLiteral("  03EQ 0000"), QStringLiteral("c")}));
    EXPECT_EQ(device.sent, std::vector<QByteArray>{"EQ"}); // the blank line and the label are not sent
    EXPECT_EQ(ui.paneMessages.back(), QStringLiteral("Macro complete"));
    EXPECT_EQ(terminal.Depth(), 0);
    EXPECT_FALSE(terminal.MacroRunning());
    EXPECT_FALSE(terminal.LastRunAborted());
}

TEST_F(TerminalLines, MissingMacroShowsTheErrorAndRunsNothing)
{
    terminal.SubmitTypedLine(QStringLiteral("PLAY ") + dir.filePath(QStringLiteral("NONE.TXT")));
    EXPECT_EQ(ui.MessageTexts(), QStringList{QStringLiteral("Error executing %1... File not found").arg(dir.filePath(QStringLiteral("NONE.TXT")))});
    EXPECT_FALSE(terminal.MacroRunning());
    EXPECT_EQ(terminal.Depth(), 0);
}

TEST_F(TerminalLines, AbortEndsEveryMacroAndLaterLinesAreUnindented)
{
    Write(QStringLiteral("INNER.MAC"), "ECHO b\nDELAY 3600\nECHO never\n");
    Write(QStringLiteral("OUTER.MAC"), "PLAY " + dir.filePath(QStringLiteral("INNER")).toLatin1() + "\nECHO never\n");
    terminal.SubmitTypedLine(QStringLiteral("PLAY ") + dir.filePath(QStringLiteral("OUTER")));
    terminal.Step(); // PLAY INNER
    terminal.Step(); // ECHO b
    EXPECT_EQ(terminal.Depth(), 1);
    ui.cancelAfterSteps = ui.steps + 3;
    terminal.RunMacros();
    EXPECT_FALSE(terminal.MacroRunning());
    EXPECT_TRUE(terminal.LastRunAborted());
    EXPECT_EQ(terminal.Depth(), 0);
    EXPECT_EQ(ui.paneMessages.back(), QStringLiteral("Macro aborted by user"));
    ui.cancelAfterSteps = -1;
    terminal.SubmitTypedLine(QStringLiteral("ECHO later"));
    const QStringList lines = Squeezed();
    EXPECT_FALSE(terminal.Output().contains(QStringLiteral("never")));
    EXPECT_EQ(lines.mid(2), (QStringList{QStringLiteral("  b"), QStringLiteral("  DELAY 3600 Delaying 3600 secs"),
                                         QStringLiteral("later")}));
}

TEST_F(TerminalLines, RequestAbortEndsATypedDelay)
{
    terminal.RequestAbort();
    terminal.SubmitTypedLine(QStringLiteral("DELAY 3600"));
    EXPECT_EQ(ui.progressTitle, QStringLiteral("Executing delay...."));
    EXPECT_EQ(ui.paneMessages.back(), QStringLiteral("Macro aborted by user"));
    terminal.SubmitTypedLine(QStringLiteral("DELAY 0"));
    EXPECT_EQ(ui.paneMessages.back(), QStringLiteral("Macro complete"));
}

TEST_F(TerminalLines, AbortKillsAShellCommand)
{
    const QString late = dir.filePath(QStringLiteral("late"));
    Write(QStringLiteral("S.MAC"), "SHELL sleep 30; touch '" + late.toLatin1() + "'\nECHO never\n");
    terminal.RequestAbort();
    terminal.SubmitTypedLine(QStringLiteral("PLAY ") + dir.filePath(QStringLiteral("S")));
    terminal.RunMacros();
    EXPECT_TRUE(terminal.LastRunAborted());
    EXPECT_FALSE(terminal.Output().contains(QStringLiteral("never")));
    EXPECT_FALSE(QFile::exists(late));
}

TEST_F(TerminalLines, WaitForPollsTheStatusUntilTheFlagChanges)
{
    // Each beep is noted with the number of progress texts shown before it.
    std::vector<size_t> beeps;
    terminal.SetBeeper([&] { beeps.push_back(ui.progressTexts.size()); });
    const struct {
        const char* line;
        std::vector<QByteArray> replies; // status replies in turn
        int exchanges;
        const char* waitText;
        bool beeps; // a text of its own: one beep just before it is shown
    } cases[] = {
        {"WAITFOR !FL", {"2000", "3000", "1000"}, 3, "Waiting for FL flag to Clear", false},
        {"waitfor au Insert card", {"", "0", "1"}, 3, "Insert card", true},  // an empty reply tells nothing
        {"WAITFOR CE", {"00000", "0000800"}, 2, "Waiting for CE flag ", false},
        {"WAITFOR ! i4", {"000008", "000000"}, 2, "Waiting for I4 flag to Clear", false},
        {"WAITFOR !I4 Remove card", {"000000"}, 1, "Remove card", true},
    };
    for (const auto& c : cases) {
        device.sent.clear();
        ui.progressTexts.clear();
        beeps.clear();
        for (const QByteArray& r : c.replies)
            device.script["EQ"].push_back({CommOk, r, 0, false});
        terminal.SubmitTypedLine(QLatin1String(c.line));
        EXPECT_EQ(int(device.sent.size()), c.exchanges) << c.line;
        EXPECT_TRUE(device.script["EQ"].empty()) << c.line;
        EXPECT_TRUE(ui.progressTexts.size() >= 3 && ui.progressTexts[0] == QStringLiteral("Waiting for status change")
                    && ui.progressTexts[2] == QLatin1String(c.waitText))
            << c.line;
        EXPECT_EQ(beeps, c.beeps ? std::vector<size_t>{2} : std::vector<size_t>{}) << c.line;
        EXPECT_EQ(Squeezed().last(), QLatin1String(c.line));
    }
    beeps.clear();
    terminal.SubmitTypedLine(QStringLiteral("WAITFOR ZZ Insert card"));
    EXPECT_EQ(ui.MessageTexts().back(), QStringLiteral("Unknown flag specified in WAITFOR command"));
    device.script["EQ"].push_back({CommOk, "0000", 0, false});
    for (const char* other : {"ECHO Insert card", "PROMPT Insert card", "EQ", "DELAY 0"})
        terminal.SubmitTypedLine(QLatin1String(other));
    EXPECT_TRUE(beeps.empty());
}

TEST(WaitFlags, TableOrderPositionsAndMasks)
{
    const auto flags = WaitFlagTable::Flags();
    ASSERT_EQ(flags.size(), 24u);
    const char* names = "AUFLRLPWKYBDTDTPALCDPDPPPFTODPPCI3I2I1CEI7I6I5I4";
    for (size_t i = 0; i < flags.size(); ++i) {
        EXPECT_EQ(QLatin1String(flags[i].name), QLatin1String(names + 2 * i, 2));
        EXPECT_EQ(flags[i].position, int(i / 4));
        EXPECT_EQ(flags[i].mask, 1 << (i % 4));
    }
    const WaitFlag* fl = WaitFlagTable::Find(QStringLiteral("fl and more"));
    ASSERT_NE(fl, nullptr);
    EXPECT_EQ(WaitFlagTable::IsSet(*fl, "2"), true);
    EXPECT_EQ(WaitFlagTable::IsSet(*fl, "D"), false);  // 0x44: bit 0x2 clear
    EXPECT_EQ(WaitFlagTable::IsSet(*fl, ""), std::nullopt);
    EXPECT_EQ(WaitFlagTable::Find(QStringLiteral("F")), nullptr);
}

TEST(TerminalCommands, MenuPrefixesHelpTopicsAndTyping)
{
    EXPECT_EQ(TerminalCommandTable::MenuItems().size(), 45u);
    EXPECT_STREQ(TerminalCommandTable::FindItem(18101)->prefix, "EQ\r");
    EXPECT_STREQ(TerminalCommandTable::FindItem(18202)->prefix, "PV ");
    EXPECT_STREQ(TerminalCommandTable::FindItem(18229)->prefix, "MR\r ");
    EXPECT_TRUE(TerminalCommandTable::FindItem(18624)->separatorBefore);
    EXPECT_EQ(TerminalCommandTable::Prefixes().size(), 45u + 53u);
    const struct {
        const char* input;
        int topic;
    } topics[] = {{"PV SY", 8202}, {"TS", 8407}, {"WA 1", 8601}, {"ZZ", 130}, {"P", 130}, {"pv", 130}};
    for (const auto& t : topics)
        EXPECT_EQ(TerminalCommandTable::HelpTopicFor(QLatin1String(t.input)), t.topic) << t.input;
    EXPECT_EQ(TerminalCommandTable::TypedText(QStringLiteral("eq")), QStringLiteral("EQ"));
    EXPECT_EQ(TerminalCommandTable::TypedText(QStringLiteral("echo hello")), QStringLiteral("ECHO HEllo"));
}

} // namespace
