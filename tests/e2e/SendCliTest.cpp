// quarrant send against the simulator: the reply, the rejection text and the failure texts a
// user sees, over TCP/IP, a device path and a configured COM port, in both framings.
#include "CliRun.h"
#include "SimProcess.h"

#include <QSettings>
#include <QTcpServer>
#include <gtest/gtest.h>

namespace {

using testsupport::CliRun;

CliRun Send(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    testsupport::CliOptions options;
    options.env = env;
    return testsupport::RunCli(QStringList{QStringLiteral("send")} + args, options);
}

QStringList Device(const QString& device) { return {QStringLiteral("--device"), device}; }

TEST(SendCliTest, PrintsTheReplyOrTheRejection)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({})) << qPrintable(sim.Error());
    const struct {
        QStringList command;
        int exitCode;
        const char* out;
    } cases[] = {
        {{"PV SY 111"}, 0, "PV SY 111 0\n"},
        {{"PV", "SY", "705"}, 0, "PV SY 705 000\n"}, // words are joined by blanks
        {{"PC SY 111 7"}, 1, "NO03 - Value out of Range\n"},
        {{"PV SY 998"}, 1, "NO14 - Program Code Not Used\n"},
    };
    for (const auto& c : cases) {
        const CliRun r = Send(Device(sim.TcpDevice()) + c.command);
        EXPECT_EQ(r.exitCode, c.exitCode) << qPrintable(c.command.join(' '));
        EXPECT_EQ(r.out, QByteArray(c.out)) << qPrintable(r.err);
    }
}

TEST(SendCliTest, FailuresPrintTheCommunicationStatusText)
{
    SimProcess bad;
    ASSERT_TRUE(bad.Start({QStringLiteral("--fault"), QStringLiteral("bad-check")})) << qPrintable(bad.Error());
    SimProcess silent;
    ASSERT_TRUE(silent.Start({QStringLiteral("--fault"), QStringLiteral("drop")})) << qPrintable(silent.Error());
    const struct {
        QStringList args;
        const char* text;
    } cases[] = {
        {Device(bad.TcpDevice()) << QStringLiteral("EQ"), "quarrant: Protocol error in response\n"},
        {Device(silent.TcpDevice()) << QStringLiteral("--timeout") << QStringLiteral("300") << QStringLiteral("EQ"),
         "quarrant: Timeout waiting for response\n"},
    };
    for (const auto& c : cases) {
        const CliRun r = Send(c.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, QLatin1String(c.text));
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(SendCliTest, RefusedConnectionCannotOpenThePort)
{
    // A port that was free a moment ago and has no listener now.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    const CliRun r = Send(Device(QStringLiteral("tcp:127.0.0.1:%1").arg(port)) << QStringLiteral("EQ"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(QLatin1String("quarrant: Cannot open Communications Port"))) << qPrintable(r.err);
}

TEST(SendCliTest, UsageErrors)
{
    const struct {
        QStringList args;
        const char* message;
    } cases[] = {
        {{"EQ"}, "--device is required"},
        {Device("tcp:127.0.0.1") , "wrong number of arguments"},
        {Device("tcp:1.2.3") << "EQ", "is not a device"},
        {Device("tcp:127.0.0.1:0") << "EQ", "not a number 1..65535"},
        {Device("com100") << "EQ", "not a number 1..99"},
        {Device("/dev/ttyS0:100") << "EQ", "not a number 0..99"},
        {Device("serial") << "EQ", "is not a device"},
        {Device("tcp:127.0.0.1") << "--framing" << "mini" << "EQ", "Terminal framing only"},
        {Device("tcp:127.0.0.1") << "--mode" << "9600,N,8,1" << "EQ", "serial devices only"},
        {Device("/dev/null") << "--timeout" << "100" << "EQ", "cannot be set"},
        {Device("/dev/null") << "--mode" << "fast" << "EQ", "not a mode text"},
        {Device("tcp:127.0.0.1") << "--framing" << "smoke" << "EQ", "terminal or mini"},
    };
    for (const auto& c : cases) {
        const CliRun r = Send(c.args);
        EXPECT_EQ(r.exitCode, 2) << qPrintable(c.args.join(' '));
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << qPrintable(r.err);
    }
}

TEST(SendCliTest, SerialLinesInBothFramingsAndUnitAddresses)
{
    const struct {
        const char* simFraming;
        QStringList simMore;
        QString deviceSuffix;
        QStringList sendMore;
    } cases[] = {
        {"mini", {}, QString(), {}},  // a device path defaults to the Minicomputer framing
        {"terminal", {}, QString(), {"--framing", "terminal"}},
        {"mini", {"--unit", "42"}, QStringLiteral(":42"), {"--mode", "9600,N,8,1"}},
    };
    for (const auto& c : cases) {
        SimProcess sim;
        ASSERT_TRUE(sim.Start(sim.WithPty(QLatin1String(c.simFraming), c.simMore))) << qPrintable(sim.Error());
        const CliRun r = Send(Device(sim.PtyPath() + c.deviceSuffix) + c.sendMore + QStringList{QStringLiteral("GP")});
        EXPECT_EQ(r.exitCode, 0) << c.simFraming << qPrintable(r.err);
        EXPECT_EQ(r.out, QByteArray("GP 650CB6B6\n"));
    }
}

TEST(SendCliTest, ComPortUsesItsStoredSettings)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start(sim.WithPty(QStringLiteral("terminal"), {QStringLiteral("--unit"), QStringLiteral("3")})))
        << qPrintable(sim.Error());
    // The child reads its settings from $XDG_CONFIG_HOME/Vandt Gauge/Quarrant Liquid.conf.
    const QString configHome = sim.TempPath(QStringLiteral("config"));
    {
        QSettings settings(configHome + QStringLiteral("/Vandt Gauge/Quarrant Liquid.conf"), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Comm/COM5"), QStringLiteral("19200,N,8,1"));
        settings.setValue(QStringLiteral("Comm/COM5_Protocol"), 0);
        settings.setValue(QStringLiteral("Comm/COM5_Device"), sim.PtyPath());
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    const CliRun r = Send(Device(QStringLiteral("COM5:3")) << QStringLiteral("EQ"), env);
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QByteArray("000000\n"));
}

TEST(SendCliTest, PrintCommandPrintsTheReportUpToItsFormFeed)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--transactions"), QStringLiteral("5")})) << qPrintable(sim.Error());
    const CliRun r = Send(Device(sim.TcpDevice()) << QStringLiteral("PT"));
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.out.startsWith("PT 0005\n")) << r.out.constData();
    EXPECT_TRUE(r.out.endsWith('\f'));
    EXPECT_TRUE(r.out.contains("TRANSACTION     0005\n"));
    EXPECT_FALSE(r.out.contains('\r'));
}

} // namespace
