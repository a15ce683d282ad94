// The simulator's command line: what it refuses, its help, and its pseudo-terminal link.
#include "SimProcess.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

struct SimRun {
    int exitCode = -1;
    QString out;
    QString err;
};

SimRun RunSimulator(const QStringList& args)
{
    QProcess p;
    p.start(testsupport::SimulatorPath(), args);
    SimRun r;
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished(10000);
        return r;
    }
    r.exitCode = p.exitCode();
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

TEST(SimOptionsTest, MalformedOptionsAreUsageErrors)
{
    const struct {
        QStringList args;
        const char* message;
    } cases[] = {
        {{"--tcp", "10.0.0.1"}, "not a loopback address"},
        {{"--tcp", "localhost"}, "not a loopback address"},
        {{"--tcp-port", "70000"}, "not a port number"},
        {{"--framing", "binary"}, "neither terminal nor mini"},
        {{"--unit", "100"}, "not an address 0..99"},
        {{"--firmware", "0.03"}, "neither a known release"},
        {{"--flags", "ZZ"}, "unknown flag 'ZZ'"},
        {{"--flags", "!FL"}, "needs ':N'"},
        {{"--fault", "smoke"}, "unknown fault 'smoke'"},
        {{"--fault", "drop=0"}, "at least 1"},
        {{"--events", "10000"}, "--events"},
        {{"--latency-ms", "-5"}, "--latency-ms"},
        {{"stray"}, "unexpected argument"},
    };
    for (const auto& c : cases) {
        const SimRun r = RunSimulator(c.args);
        EXPECT_EQ(r.exitCode, 2) << qPrintable(c.args.join(' '));
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << qPrintable(r.err);
        EXPECT_TRUE(r.out.isEmpty()) << "no ready line for " << qPrintable(c.args.join(' '));
    }
}

TEST(SimOptionsTest, HelpDescribesEveryOption)
{
    const SimRun r = RunSimulator({QStringLiteral("--help")});
    EXPECT_EQ(r.exitCode, 0);
    for (const char* option : {"--tcp ", "--tcp-port", "--pty", "--framing", "--unit", "--state ", "--state-out", "--locked",
                               "--firmware", "--flags", "--events", "--audits", "--transactions", "--latency-ms", "--baud",
                               "--fault", "--verbose"})
        EXPECT_TRUE(r.out.contains(QLatin1String(option))) << option;
}

TEST(SimOptionsTest, PseudoTerminalLinkLivesWhileTheSimulatorRuns)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start(sim.WithPty(QStringLiteral("terminal")))) << qPrintable(sim.Error());
    EXPECT_TRUE(sim.ReadyLine().contains(QStringLiteral("tcp=127.0.0.1:")));
    EXPECT_TRUE(sim.ReadyLine().endsWith(QStringLiteral("pty=") + sim.PtyPath()));
    const QFileInfo link(sim.PtyPath());
    EXPECT_TRUE(link.isSymLink());
    EXPECT_TRUE(link.symLinkTarget().startsWith(QStringLiteral("/dev/pts/"))) << qPrintable(link.symLinkTarget());
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(QFileInfo(sim.PtyPath()).isSymLink());
}

TEST(SimOptionsTest, AFileInThePlaceOfTheLinkIsLeftAlone)
{
    SimProcess sim;
    const QString path = sim.TempPath(QStringLiteral("line"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep me");
    f.close();
    EXPECT_FALSE(sim.Start(sim.WithPty(QStringLiteral("mini"))));
    EXPECT_EQ(sim.Stop(), 1);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("keep me"));
}

} // namespace
