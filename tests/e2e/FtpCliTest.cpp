// 'quarrant ftp put|get' against the simulator's FTP side: a file round-trips through the
// device's CONFIG folder, progress goes to stderr, a wrong access code and a serial device
// are refused.
#include "CliRun.h"
#include "SimProcess.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct FtpCliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

FtpCliRun RunQuarrant(const QStringList& args)
{
    const testsupport::CliRun r = testsupport::RunCli(args);
    return {r.exitCode, r.OutText(), r.err};
}

} // namespace

TEST(FtpCliTest, PutAndGetRoundTripThroughTheDevice)
{
    SimProcess sim;
    const QString root = sim.TempPath(QStringLiteral("ftp"));
    ASSERT_TRUE(sim.Start({QStringLiteral("--ftp-port"), QStringLiteral("0"), QStringLiteral("--ftp-root"), root,
                           QStringLiteral("--access-code"), QStringLiteral("77")}))
        << qPrintable(sim.Error());
    const auto m = QRegularExpression(QStringLiteral(" ftp=127\\.0\\.0\\.1:(\\d+)")).match(sim.ReadyLine());
    ASSERT_TRUE(m.hasMatch()) << qPrintable(sim.ReadyLine());
    const QString ftpPort = m.captured(1);
    const QString device = QStringLiteral("tcp:127.0.0.1");

    QByteArray content;
    for (int i = 0; i < 3000; ++i)
        content.append(char(i * 7 % 256));
    const QString local = sim.TempPath(QStringLiteral("TRANSRPT.CFG"));
    {
        QFile f(local);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    FtpCliRun r = RunQuarrant({QStringLiteral("ftp"), QStringLiteral("put"), QStringLiteral("--device"), device,
                               QStringLiteral("--ftp-port"), ftpPort, QStringLiteral("--access-code"), QStringLiteral("77"),
                               QStringLiteral("CONFIG/TRANSRPT.CFG"), local});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QStringLiteral("\"TRANSRPT.CFG\" successfully uploaded.\n"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("(3000 of 3000  bytes transferred)"))) << qPrintable(r.err);
    QFile onDevice(root + QStringLiteral("/CONFIG/TRANSRPT.CFG"));
    ASSERT_TRUE(onDevice.open(QIODevice::ReadOnly));
    EXPECT_EQ(onDevice.readAll(), content);

    const QString back = sim.TempPath(QStringLiteral("back.cfg"));
    r = RunQuarrant({QStringLiteral("ftp"), QStringLiteral("get"), QStringLiteral("--device"), device,
                     QStringLiteral("--ftp-port"), ftpPort, QStringLiteral("--access-code"), QStringLiteral("77"),
                     QStringLiteral("CONFIG/TRANSRPT.CFG"), back});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QStringLiteral("\"TRANSRPT.CFG\" successfully downloaded.\n"));
    QFile backFile(back);
    ASSERT_TRUE(backFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(backFile.readAll(), content);

    // A wrong access code fails at once (no further attempts) with exit code 1.
    r = RunQuarrant({QStringLiteral("ftp"), QStringLiteral("get"), QStringLiteral("--device"), device,
                     QStringLiteral("--ftp-port"), ftpPort, QStringLiteral("--access-code"), QStringLiteral("78"),
                     QStringLiteral("CONFIG/TRANSRPT.CFG"), sim.TempPath(QStringLiteral("never.cfg"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.contains(QStringLiteral("Attempt 2 of 3"))) << qPrintable(r.err);

    // Usage errors: a serial device, a direction that is neither get nor put.
    r = RunQuarrant({QStringLiteral("ftp"), QStringLiteral("put"), QStringLiteral("--device"), QStringLiteral("com1"),
                     QStringLiteral("--access-code"), QStringLiteral("77"), QStringLiteral("CONFIG/X"), local});
    EXPECT_EQ(r.exitCode, 2);
    r = RunQuarrant({QStringLiteral("ftp"), QStringLiteral("move"), QStringLiteral("--device"), device,
                     QStringLiteral("--access-code"), QStringLiteral("77"), QStringLiteral("CONFIG/X"), local});
    EXPECT_EQ(r.exitCode, 2);
}
