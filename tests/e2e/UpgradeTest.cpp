// Upgrade Firmware through the core against the simulator as a real process, with its FTP
// side: a locked device, a wrong access code, a good run that installs a new image (the
// device restarts answering, factory configured, with the new checksum), a device already in
// its RAM executive, and an older image that is declined. The messages are the user's texts.
#include "SimLine.h"

#include "CquillTrakDoc.h"
#include "Crc32.h"
#include "DeviceConnection.h"
#include "FirmwareUpgrade.h"
#include "ForcedCrc.h"
#include "InternetSession.h"
#include "ScriptedUserInterface.h"

#include <QDeadlineTimer>
#include <algorithm>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString kAccessCode = QStringLiteral("4321");
const QString kWarning = QStringLiteral("WARNING: Upgrading will erase ALL memory in the Corvantix.net Liquid (batch "
                                        "records, configuration, reports, equations, etc.)... continue?");
const QString kSuccess = QStringLiteral("Transfer completed. The Corvantix will be factory initialized. ");

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One simulated device with its FTP side, a TCP/IP document attached to it and the wizard.
class UpgradeRig {
public:
    bool Start(QStringList simOptions = {})
    {
        simOptions << QStringLiteral("--ftp-port") << QStringLiteral("0") << QStringLiteral("--ftp-root")
                   << sim.TempPath(QStringLiteral("ftp")) << QStringLiteral("--access-code") << kAccessCode;
        if (!sim.Start(simOptions))
            return false;
        const auto m = QRegularExpression(QStringLiteral("ftp=127\\.0\\.0\\.1:(\\d+)")).match(sim.ReadyLine());
        if (!m.hasMatch())
            return false;
        internet.SetFtpPort(quint16(m.captured(1).toUInt()));
        internet.SetReceiveTimeout(5000);
        doc.port = 0;
        doc.deviceAddress = 0x7F000001u;
        connection = std::make_unique<DeviceConnection>(doc, ui);
        connection->SetLinkFactory([this](const CquillTrakDoc&) { return ConnectSim(sim, SimLine::Tcp); });
        ui.accessCode = kAccessCode;
        return true;
    }

    FirmwareUpgrade::Outcome Upgrade(const QByteArray& image)
    {
        QFile file(sim.TempPath(QStringLiteral("UPIMG.BIN")));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(image) != image.size())
            return FirmwareUpgrade::Outcome::Failed;
        file.close();
        FirmwareUpgrade upgrade(*connection, &internet);
        upgrade.SetImagePath(file.fileName());
        upgrade.SetDescriptorPath(sim.TempPath(QStringLiteral("APPINFO.DAT")));
        upgrade.SetRebootWaitMs(100);
        return upgrade.Run();
    }

    QString FirmwareFile(const char* name) const { return sim.TempPath(QStringLiteral("ftp/firmware/")) + QLatin1String(name); }

    // The device's reply to a command on a fresh link; status -1 when it did not answer in time.
    SimExchange Ask(const QByteArray& command, int waitMs = 10000)
    {
        const QDeadlineTimer deadline(waitMs);
        do {
            const std::unique_ptr<VandtProtocol> link = ConnectSim(sim, SimLine::Tcp, 1, std::chrono::milliseconds(300));
            const SimExchange e = Exchange(*link, command);
            if (e.status == 0)
                return e;
            QThread::msleep(50);
        } while (!deadline.hasExpired());
        return {};
    }

    SimProcess sim;
    CquillTrakDoc doc;
    ScriptedUserInterface ui;
    InternetSession internet;
    std::unique_ptr<DeviceConnection> connection;
};

} // namespace

TEST(UpgradeTest, GoodRunInstallsTheImageAndTheDeviceRestarts)
{
    UpgradeRig rig;
    ASSERT_TRUE(rig.Start({QStringLiteral("--firmware"), QStringLiteral("0.09")})) << qPrintable(rig.sim.Error());
    // A configuration change that the factory initialisation must undo.
    const SimExchange factory = rig.Ask("PV SY 111");
    ASSERT_EQ(factory.status, 0);
    const QByteArray changed = factory.text.endsWith('0') ? "PC SY 111 1" : "PC SY 111 0";
    ASSERT_EQ(rig.Ask(changed).status, 0);
    ASSERT_NE(rig.Ask("PV SY 111").text, factory.text);

    const QByteArray image = WithCrc32(QByteArray(5000, '\x5A'), 0x650CB6B6u);
    EXPECT_EQ(rig.Upgrade(image), FirmwareUpgrade::Outcome::Upgraded);

    // The device ran 0.09, the image is 0.10: no question about an older image.
    EXPECT_EQ(rig.ui.MessageTexts(),
              QStringList({kWarning,
                           QStringLiteral("The Corvantix.net Liquid online is an older revision (Rev 0.09). \nNot all "
                                          "Rev 0.10 program codes may be supported."),
                           kSuccess}));
    EXPECT_EQ(rig.ui.messages.back().caption, QStringLiteral("Firmware Upgraded Successfully"));
    EXPECT_EQ(rig.doc.connectionState, CquillTrakDoc::Offline);
    EXPECT_EQ(rig.internet.ReceiveTimeout(), 5000);
    for (const char* step : {"Preparing Corvantix.net Liquid for upgrade process...",
                             "Preparing Corvantix.net for upgrade process...",
                             "Allowing Corvantix.net to reboot into RAM executive; please wait...",
                             "Erasing existing application memory (flash)...", "Initiating application image download...",
                             "downloading image...", "Allowing Corvantix.net Liquid to restart with new image..."})
        EXPECT_TRUE(std::find(rig.ui.progressTexts.begin(), rig.ui.progressTexts.end(), QString::fromLatin1(step))
                    != rig.ui.progressTexts.end())
            << step;

    // The descriptor: length and CRC-32, most significant byte first, locally and on the device.
    const QByteArray descriptor = QByteArray::fromHex("0000138C650CB6B6");
    EXPECT_EQ(ReadAll(rig.sim.TempPath(QStringLiteral("APPINFO.DAT"))).toHex(), descriptor.toHex());
    EXPECT_EQ(ReadAll(rig.FirmwareFile("APPINFO.DAT")).toHex(), descriptor.toHex());
    EXPECT_EQ(ReadAll(rig.FirmwareFile("UPIMG.BIN")), image);

    // The device answers again, runs the new image and has its factory configuration.
    const SimExchange gp = rig.Ask("GP");
    ASSERT_EQ(gp.status, 0) << qPrintable(rig.sim.Stderr());
    EXPECT_TRUE(gp.text.contains("650CB6B6")) << gp.text.constData();
    EXPECT_EQ(rig.Ask("PV SY 111").text, factory.text);
}

TEST(UpgradeTest, RefusalsLeaveTheDeviceRunning)
{
    struct Case {
        const char* name;
        QStringList simOptions;
        QString accessCode;
        std::deque<int> answers;
        FirmwareUpgrade::Outcome outcome;
        QString lastMessage;
        QString lastCaption;
        int state;
    };
    const QByteArray olderImage = WithCrc32("older image", 0x4C385439u);
    const Case cases[] = {
        {"locked device", {QStringLiteral("--locked")}, kAccessCode, {}, FirmwareUpgrade::Outcome::Failed,
         QStringLiteral("Program Mode access via communications is required... Unable to upgrade. \n Refer to XN27705 "
                        "for upgrade instructions."),
         QString(), CquillTrakDoc::ReadOnly},
        {"wrong access code", {}, QStringLiteral("0000"), {}, FirmwareUpgrade::Outcome::Failed,
         QStringLiteral("Invalid access code... aborting operation"), QStringLiteral("Error connecting to Corvantix.net Liquid"),
         CquillTrakDoc::Online},
        {"older image declined", {}, kAccessCode, {UserInterface::Ok, UserInterface::Cancel},
         FirmwareUpgrade::Outcome::Cancelled,
         QStringLiteral("NOTE... the UPIMG.BIN file is older than the firmware currently running in the Corvantix... "
                        "Continue? \n Refer to XN27705 for upgrade instructions"),
         QStringLiteral("Quarrant Firmware Upgrade Wizard"), CquillTrakDoc::Online},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UpgradeRig rig;
        ASSERT_TRUE(rig.Start(c.simOptions)) << qPrintable(rig.sim.Error());
        rig.ui.accessCode = c.accessCode;
        rig.ui.answers = c.answers;
        EXPECT_EQ(rig.Upgrade(olderImage), c.outcome);
        ASSERT_FALSE(rig.ui.messages.empty());
        EXPECT_EQ(rig.ui.messages.back().text, c.lastMessage);
        EXPECT_EQ(rig.ui.messages.back().caption, c.lastCaption);
        EXPECT_EQ(rig.doc.connectionState, c.state);
        EXPECT_EQ(rig.internet.ReceiveTimeout(), 5000);
        // Nothing reached the firmware folder and the device still answers: no "UF" was sent.
        EXPECT_FALSE(QFile::exists(rig.FirmwareFile("UPIMG.BIN")));
        EXPECT_FALSE(QFile::exists(rig.FirmwareFile("APPINFO.DAT")));
        EXPECT_EQ(rig.Ask("GP", 1000).status, 0);
    }
}

// A device already in its RAM executive answers no command: the document is Offline, so the
// first login and "UF" are skipped and the image goes straight to the RAM executive.
TEST(UpgradeTest, DeviceInRamExecutiveReceivesTheImageDirectly)
{
    UpgradeRig rig;
    ASSERT_TRUE(rig.Start()) << qPrintable(rig.sim.Error());
    ASSERT_EQ(rig.Ask("UF").status, 0);
    ASSERT_EQ(rig.Ask("GP", 500).status, -1);

    // A wrong code now fails at the RAM executive's login, and the time-out is restored.
    rig.ui.accessCode = QStringLiteral("0000");
    const QByteArray image = WithCrc32("new image", 0x4C385439u);
    EXPECT_EQ(rig.Upgrade(image), FirmwareUpgrade::Outcome::Failed);
    EXPECT_EQ(rig.ui.messages.back().text, QStringLiteral("Unable to establish connection with Corvantix.net Liquid"));
    EXPECT_EQ(rig.internet.ReceiveTimeout(), 5000);
    EXPECT_EQ(rig.doc.connectionState, CquillTrakDoc::Offline);

    rig.ui.messages.clear();
    rig.ui.accessCode = kAccessCode;
    EXPECT_EQ(rig.Upgrade(image), FirmwareUpgrade::Outcome::Upgraded);
    EXPECT_EQ(rig.ui.MessageTexts(), QStringList({kWarning, kSuccess}));
    const SimExchange gp = rig.Ask("GP");
    ASSERT_EQ(gp.status, 0);
    EXPECT_TRUE(gp.text.contains("4C385439")) << gp.text.constData();
}
