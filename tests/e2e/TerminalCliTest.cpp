// quarrant macro and quarrant terminal against the simulator: the exact echo lines of typed
// and macro lines (address digits, a nested PLAY's indentation and the return after it,
// GOTO forward and to a label on the last line), WAITFOR against scripted status flags,
// DELAY, the log file, SHELL, the "PT" report capture, and a macro that cannot be loaded.
#include "CliRun.h"
#include "SimProcess.h"
#include "TerminalSession.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::CliRun;

CliRun Quarrant(const QString& workDir, const QStringList& args, const QByteArray& input = {})
{
    testsupport::CliOptions options;
    options.workDir = workDir;
    options.input = input;
    return testsupport::RunCli(args, options);
}

void WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text)
{
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QByteArray ReadFile(const QTemporaryDir& dir, const QString& name)
{
    QFile f(dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// An echo line as printed (the window's line without its carriage return).
QByteArray Echo(int depth, const char* command, const char* reply)
{
    return TerminalSession::EchoWithoutAddress(depth, QLatin1String(command), QLatin1String(reply)).toLatin1();
}
QByteArray EchoDevice(int depth, int address, const char* command, const char* reply)
{
    return TerminalSession::EchoWithAddress(depth, address, QLatin1String(command), QLatin1String(reply)).toLatin1();
}
QByteArray Printed(const QByteArrayList& lines)
{
    QByteArray out;
    for (QByteArray l : lines)
        out += l.replace("\r\n", "\n");
    return out;
}

class TerminalCliTest : public ::testing::Test {
protected:
    void Start(const QStringList& options = {}) { ASSERT_TRUE(m_sim.Start(options)) << qPrintable(m_sim.Error()); }
    QStringList Device() const { return {QStringLiteral("--device"), m_sim.TcpDevice()}; }

    SimProcess m_sim;
    QTemporaryDir m_dir;
};

TEST_F(TerminalCliTest, MacroEchoLinesNestingGotoAndLog)
{
    Start();
    WriteFile(m_dir, QStringLiteral("INNER.MAC"), "EQ\nECHO inner\n");
    WriteFile(m_dir, QStringLiteral("OUTER.MAC"),
              "ECHO start\nPLAY INNER\nGOTO SKIP\nECHO skipped\nSKIP:\nPV SY 998\nADDRESS 7\nEQ\nGOTO END\n"
              "ECHO never\nEND:\n");
    const CliRun r = Quarrant(m_dir.path(), QStringList{QStringLiteral("macro"), QStringLiteral("OUTER"),
                                                         QStringLiteral("--log"), QStringLiteral("cli.log")} + Device());
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    const QByteArrayList macroLines = {
        Echo(0, "start", ""),
        Echo(0, "PLAY INNER", ""),
        EchoDevice(1, 1, "EQ", "000000"),
        Echo(1, "inner", ""),
        EchoDevice(0, 1, "PV SY 998", "NO14 - Program Code Not Used"),
        Echo(0, "ADDRESS 7", "Switched to address 7 "),
        EchoDevice(0, 7, "EQ", "000000"),
    };
    EXPECT_EQ(r.out, Printed(QByteArrayList{Echo(0, "PLAY OUTER", "")} + macroLines)) << qPrintable(r.err);
    const QByteArray log = ReadFile(m_dir, QStringLiteral("cli.log"));
    EXPECT_TRUE(log.startsWith("Log started ")) << log.constData();
    EXPECT_EQ(log.mid(log.indexOf("\r\n") + 2), macroLines.join());
}

TEST_F(TerminalCliTest, WaitForEndsWhenTheSimulatorChangesItsFlags)
{
    // FL is set and clears after two status replies; AU is clear and is set after one.
    Start({QStringLiteral("--flags"), QStringLiteral("FL:2,!AU:1")});
    WriteFile(m_dir, QStringLiteral("W.MAC"), "WAITFOR !FL\nWAITFOR AU Insert card\nEQ\n");
    const CliRun r = Quarrant(m_dir.path(), QStringList{QStringLiteral("macro"), QStringLiteral("W.MAC")} + Device());
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, Printed({Echo(0, "PLAY W.MAC", ""), Echo(0, "WAITFOR !FL", ""), Echo(0, "WAITFOR AU Insert card", ""),
                              EchoDevice(0, 1, "EQ", "100000")}))
        << qPrintable(r.err);
    // The beep of "Insert card" rings a terminal's bell only: a piped error stream gets none.
    EXPECT_FALSE(r.err.contains(QLatin1Char('\a'))) << qPrintable(r.err);
}

TEST_F(TerminalCliTest, DelayShellLogAndReportCapture)
{
    Start();
    WriteFile(m_dir, QStringLiteral("R.MAC"), "LOG session.log\nDELAY 1\nSHELL echo made > shell.txt\nLOG\nPT\n");
    const CliRun r = Quarrant(m_dir.path(), QStringList{QStringLiteral("macro"), QStringLiteral("R")} + Device());
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.out.contains(Printed({Echo(0, "DELAY 1", "Delaying 1 secs")}))) << r.out.constData();
    EXPECT_TRUE(r.out.contains("\n01PT ")) << r.out.constData();
    EXPECT_EQ(ReadFile(m_dir, QStringLiteral("shell.txt")), "made\n");
    const QByteArray log = ReadFile(m_dir, QStringLiteral("session.log"));
    EXPECT_EQ(log.mid(log.indexOf("\r\n") + 2), Echo(0, "DELAY 1", "Delaying 1 secs") + "SHELL echo made > shell.txt\r\n");
    const QByteArray report = ReadFile(m_dir, QStringLiteral("REPORT.TXT"));
    EXPECT_TRUE(report.startsWith("        LOADING TICKET\n")) << report.constData();
    EXPECT_TRUE(report.endsWith("        END OF REPORT\n\f")) << report.constData();
    EXPECT_FALSE(report.contains('\r'));
}

TEST_F(TerminalCliTest, AMissingMacroFails)
{
    Start();
    const CliRun r = Quarrant(m_dir.path(), QStringList{QStringLiteral("macro"), QStringLiteral("NOPE")} + Device());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Error executing NOPE... File not found"))) << qPrintable(r.err);
}

TEST_F(TerminalCliTest, TerminalExecutesTypedLinesUntilExit)
{
    Start();
    const CliRun r = Quarrant(m_dir.path(), QStringList{QStringLiteral("terminal")} + Device(),
                              "EQ\nE\nECHO hi\nEXIT\nECHO after\n");
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, Printed({EchoDevice(0, 1, "EQ", "000000"), Echo(0, "hi", "")})) << qPrintable(r.err);
}

} // namespace
