// The command line's device commands against the simulator: connect, read into a new file,
// compare and diff with their exit codes and JSON, dump refused by a locked device, logs,
// and the non-interactive --on-error policies on a line that drops replies.
#include "CliRun.h"
#include "SimProcess.h"

#include "CquillTrakDoc.h"
#include "ScriptedUserInterface.h"
#include "ValueFormat.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

using testsupport::CliRun;

CliRun Quarrant(const QStringList& args) { return testsupport::RunCli(args); }

QStringList Args(std::initializer_list<QString> list)
{
    return QStringList(list);
}

} // namespace

TEST(DeviceCliTest, ConnectReadCompareAndDiff)
{
    SimProcess sim;
    const QString out = sim.TempPath(QStringLiteral("out.qcf"));
    ASSERT_TRUE(sim.Start({QStringLiteral("--state-out"), out})) << qPrintable(sim.Error());
    const QString dev = sim.TcpDevice();

    CliRun r = Quarrant(Args({"connect", "--device", dev}));
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(QString::fromLatin1(r.out),
              QStringLiteral(" *ONLINE* \nFirmware revision: 0.10\nTCP/IP: 127.0.0.1 : %1\n").arg(sim.TcpPort()));

    const QString file = sim.TempPath(QStringLiteral("read.qcf"));
    r = Quarrant(Args({"read", "--device", dev, "-o", file}));
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    r = Quarrant(Args({"compare", file, "--device", dev}));
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err) << r.out.constData();
    EXPECT_TRUE(r.out.isEmpty());

    // The file read holds the device's address and every program code.
    CquillTrakDoc doc;
    ScriptedUserInterface ui;
    ASSERT_TRUE(doc.OpenFile(file, ui));
    EXPECT_EQ(doc.port, 0);
    EXPECT_EQ(doc.deviceAddress, 0x7F000001u);
    DBParam* p = doc.Sections().Find(5, 111);
    ASSERT_NE(p, nullptr);
    const QString before = FormatValue(*p, doc.Image());
    ASSERT_TRUE(StoreValue(doc.Image(), *p, before.trimmed() == QLatin1String("1") ? QStringLiteral("0") : QStringLiteral("1")));
    const QString changed = sim.TempPath(QStringLiteral("changed.qcf"));
    ASSERT_TRUE(doc.SaveFile(changed));

    r = Quarrant(Args({"diff", file, changed, "--json"}));
    EXPECT_EQ(r.exitCode, 1) << qPrintable(r.err);
    const QJsonObject top = QJsonDocument::fromJson(r.out).object();
    EXPECT_FALSE(top.value(QStringLiteral("equal")).toBool(true));
    const QJsonArray rows = top.value(QStringLiteral("differences")).toArray();
    ASSERT_EQ(rows.size(), 1);
    const QJsonObject row = rows[0].toObject();
    EXPECT_EQ(row.value(QStringLiteral("code")).toInt(), 111);
    EXPECT_EQ(row.value(QStringLiteral("sectionTitle")).toString(), QStringLiteral("General Purpose"));
    EXPECT_EQ(row.value(QStringLiteral("a")).toObject().value(QStringLiteral("value")).toString(), before);

    r = Quarrant(Args({"compare", changed, "--device", dev, "--section", "General Purpose"}));
    EXPECT_EQ(r.exitCode, 1) << qPrintable(r.err);
    EXPECT_TRUE(r.out.startsWith("General Purpose\n  111 Flow Rate Time")) << r.out.constData();

    r = Quarrant(Args({"diff", file, sim.TempPath(QStringLiteral("missing.qcf"))}));
    EXPECT_EQ(r.exitCode, 2);

    // Dumping the changed file puts the change into the device.
    r = Quarrant(Args({"dump", changed, "--device", dev, "--section", "5"}));
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    r = Quarrant(Args({"compare", changed, "--device", dev}));
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err) << r.out.constData();
}

TEST(DeviceCliTest, DumpIsRefusedByALockedDevice)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--locked")})) << qPrintable(sim.Error());
    CquillTrakDoc doc;
    const QString file = sim.TempPath(QStringLiteral("doc.qcf"));
    ASSERT_TRUE(doc.SaveFile(file));
    const CliRun r = Quarrant(Args({"dump", file, "--device", sim.TcpDevice()}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("*READ ONLY*"))) << qPrintable(r.err);
}

TEST(DeviceCliTest, AuditLogToAFile)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--audits"), QStringLiteral("3")})) << qPrintable(sim.Error());
    const QString file = sim.TempPath(QStringLiteral("audit.txt"));
    const CliRun r = Quarrant(Args({"logs", "audit", "--device", sim.TcpDevice(), "-o", file}));
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4); // three lines and what follows the last line end
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(lines[i].endsWith('\r')) << i;
    EXPECT_TRUE(lines[3].isEmpty());
}

TEST(DeviceCliTest, ErrorPolicyOnDroppedReplies)
{
    struct Case {
        const char* policy;
        int exitCode;
        bool saved;
    };
    const Case cases[] = {{"abort", 1, false}, {"retry", 0, true}};
    for (const Case& c : cases) {
        SimProcess sim;
        ASSERT_TRUE(sim.Start({QStringLiteral("--fault"), QStringLiteral("drop=40")})) << qPrintable(sim.Error());
        const QString file = sim.TempPath(QStringLiteral("read.qcf"));
        const CliRun r = Quarrant(Args({"read", "--device", sim.TcpDevice(), "--timeout", "300", "--on-error",
                                   QString::fromLatin1(c.policy), "-o", file}));
        EXPECT_EQ(r.exitCode, c.exitCode) << c.policy << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(QStringLiteral("Timeout waiting for response"))) << qPrintable(r.err);
        EXPECT_EQ(QFile::exists(file), c.saved) << c.policy;
    }
}
