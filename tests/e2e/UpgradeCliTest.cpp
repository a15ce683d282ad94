// 'quarrant upgrade' and 'quarrant check-updates' as processes: an upgrade confirmed with
// --yes installs the image on the simulator (which restarts with it), one without --yes
// changes nothing, an unknown image stops before the device is contacted; the update check
// reports a newer release with the installer's address.
#include "FtpServerFixture.h"
#include "ForcedCrc.h"
#include "CliRun.h"
#include "SimProcess.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

namespace {

struct UpgradeCliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

UpgradeCliRun RunIn(const QString& folder, const QStringList& args)
{
    testsupport::CliOptions options;
    options.workDir = folder;
    const testsupport::CliRun r = testsupport::RunCli(args, options);
    return {r.exitCode, r.OutText(), r.err};
}

bool WriteFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

} // namespace

TEST(UpgradeCliTest, UpgradeInstallsTheImage)
{
    SimProcess sim;
    const QString root = sim.TempPath(QStringLiteral("ftp"));
    ASSERT_TRUE(sim.Start({QStringLiteral("--firmware"), QStringLiteral("0.09"), QStringLiteral("--ftp-port"),
                           QStringLiteral("0"), QStringLiteral("--ftp-root"), root, QStringLiteral("--access-code"),
                           QStringLiteral("5150")}))
        << qPrintable(sim.Error());
    const auto m = QRegularExpression(QStringLiteral(" ftp=127\\.0\\.0\\.1:(\\d+)")).match(sim.ReadyLine());
    ASSERT_TRUE(m.hasMatch()) << qPrintable(sim.ReadyLine());
    const QString work = sim.TempPath(QString());
    const QString image = sim.TempPath(QStringLiteral("new.bin"));
    const QStringList base = {QStringLiteral("upgrade"), QStringLiteral("--device"), sim.TcpDevice(),
                              QStringLiteral("--image"), image, QStringLiteral("--access-code"), QStringLiteral("5150"),
                              QStringLiteral("--ftp-port"), m.captured(1)};

    // An image the firmware table does not know: refused before the device is contacted.
    ASSERT_TRUE(WriteFile(image, WithCrc32("unknown", 0x01020304u)));
    UpgradeCliRun r = RunIn(work, base + QStringList{QStringLiteral("--yes")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("This UPIMG.BIN is unrecognized by Quarrant Liquid"))) << qPrintable(r.err);
    EXPECT_FALSE(r.err.contains(QStringLiteral("older revision"))) << qPrintable(r.err);

    // Without --yes the erase warning is declined.
    const QByteArray firmware = WithCrc32(QByteArray(1500, 'F'), 0x650CB6B6u);
    ASSERT_TRUE(WriteFile(image, firmware));
    r = RunIn(work, base);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("/firmware/UPIMG.BIN")));

    r = RunIn(work, base + QStringList{QStringLiteral("--yes")});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Firmware Upgraded Successfully: Transfer completed."))) << qPrintable(r.err);
    QFile descriptor(work + QStringLiteral("/APPINFO.DAT"));
    ASSERT_TRUE(descriptor.open(QIODevice::ReadOnly));
    EXPECT_EQ(descriptor.readAll().toHex(), QByteArray("000005e0650cb6b6"));

    // The simulator restarts with the new image: 'connect' finds revision 0.10.
    QDeadlineTimer deadline(15000);
    do {
        r = RunIn(work, {QStringLiteral("connect"), QStringLiteral("--device"), sim.TcpDevice(), QStringLiteral("--timeout"),
                         QStringLiteral("500")});
        if (r.exitCode == 0)
            break;
        QThread::msleep(100);
    } while (!deadline.hasExpired());
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.out.contains(QStringLiteral("Firmware revision: 0.10"))) << qPrintable(r.out);
}

TEST(UpgradeCliTest, CheckUpdatesReportsANewerRelease)
{
    QTemporaryDir updates;
    ASSERT_TRUE(updates.isValid());
    ASSERT_TRUE(WriteFile(updates.filePath(QStringLiteral("QuarrantL/REV.TXT")), "0.11\r\n"));
    FtpServerFixture server;
    server.SetExtraArguments({QStringLiteral("--anonymous-root"), updates.path()});
    QString error;
    ASSERT_TRUE(server.Start(&error)) << qPrintable(error);
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString address = QStringLiteral("127.0.0.1:%1").arg(server.Port());

    UpgradeCliRun r = RunIn(work.path(), {QStringLiteral("check-updates"), QStringLiteral("--server"), address});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Revision 0.11 is available: "))) << qPrintable(r.out);

    ASSERT_TRUE(WriteFile(updates.filePath(QStringLiteral("QuarrantL/REV.TXT")), "0.10"));
    r = RunIn(work.path(), {QStringLiteral("check-updates"), QStringLiteral("--server"), address});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QStringLiteral("Revision 0.10 is the latest.\n"));

    r = RunIn(work.path(), {QStringLiteral("check-updates"), QStringLiteral("--server"), QStringLiteral("127.0.0.1:0")});
    EXPECT_EQ(r.exitCode, 2);
}
