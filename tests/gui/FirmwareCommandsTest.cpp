// Tools > Upgrade Firmware and Check for Updates in the configuration frame: their enable
// rules (the update-check flag also from a later start's request), a whole upgrade from the frame's menu entry against the simulator with its FTP side
// (the device receives the descriptor and the image, the document ends Offline), and the
// update check against a real anonymous FTP server, up to an accepted offer that opens the
// installer and ends the application without save prompts. The frame's user interface is scripted;
// the application's own Internet session carries the FTP traffic.
#include <gtest/gtest.h>

#include "../e2e/SimProcess.h"
#include "FtpServerFixture.h"
#include "ForcedCrc.h"
#include "ScriptedUserInterface.h"
#include "app/CMainFrame.h"
#include "app/CSingleInstance.h"
#include "app/CUrlOpener.h"
#include "app/CquillTrakApp.h"

#include "CquillTrakDoc.h"
#include "DeviceAddress.h"
#include "InternetSession.h"
#include "UpdateSettings.h"

#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

namespace {

constexpr int kUpgradeFirmware = 148;
constexpr int kCheckForUpdates = 169;

void SetSetting(const QString& key, const QVariant& value)
{
    QSettings(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid")).setValue(key, value);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

class FirmwareCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_work.isValid());
        m_savedFolder = QDir::currentPath();
        // The wizard's files ("UPIMG.BIN", "APPINFO.DAT", "REV.TXT") live in the current folder.
        QDir::setCurrent(m_work.path());
        m_app.SetUiFactory([this](CDocFrame&) {
            auto ui = std::make_unique<ScriptedUserInterface>();
            m_uis.push_back(ui.get());
            return ui;
        });
    }

    void TearDown() override
    {
        QDir::setCurrent(m_savedFolder);
        QSettings(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid")).remove(QStringLiteral("Network"));
    }

    CMainFrame* NewTcpConfiguration(const QString& host, quint16 port)
    {
        QString error;
        const std::optional<DeviceAddress> address =
            DeviceAddress::Parse(QStringLiteral("tcp:%1:%2").arg(host).arg(port), &error);
        EXPECT_TRUE(address) << error.toStdString();
        return address ? m_app.NewConfiguration(address) : nullptr;
    }

    QTemporaryDir m_work;
    QString m_savedFolder;
    CquillTrakApp m_app;
    std::vector<ScriptedUserInterface*> m_uis;
};

TEST_F(FirmwareCommandsTest, UpgradeNeedsATcpIpPortAndCheckForUpdatesTheFlag)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 nobody = closed.serverPort();
    closed.close();

    CMainFrame* serial = m_app.NewConfiguration();
    CMainFrame* tcp = NewTcpConfiguration(QStringLiteral("127.0.0.1"), nobody);
    ASSERT_NE(tcp, nullptr);
    ASSERT_NE(serial->Document().port, 0);
    ASSERT_EQ(tcp->Document().port, 0);

    for (bool flag : {false, true}) {
        m_app.SetUpdateCheckFlag(flag);
        for (CMainFrame* frame : {serial, tcp}) {
            frame->UpdateIdle();
            EXPECT_EQ(frame->Command(kUpgradeFirmware)->isEnabled(), frame == tcp);
            EXPECT_EQ(frame->Command(kCheckForUpdates)->isEnabled(), flag);
        }
    }

    // A disabled entry does nothing even when it is triggered from elsewhere.
    const size_t before = m_uis.front()->messages.size();
    serial->RunCommand(DocumentCommand::UpgradeFirmware);
    EXPECT_EQ(m_uis.front()->messages.size(), before);

    // A later start with --check-updates sets the flag of the running instance, and opens
    // nothing.
    m_app.SetUpdateCheckFlag(false);
    const QString name = QStringLiteral("quarrant-update-check-%1").arg(QCoreApplication::applicationPid());
    ASSERT_TRUE(m_app.BecomeRunningInstance(name));
    ASSERT_TRUE(CSingleInstance::HandOverUpdateCheck(name));
    const QDeadlineTimer deadline(5000);
    while (!m_app.UpdateCheckFlag() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    tcp->UpdateIdle();
    EXPECT_TRUE(tcp->Command(kCheckForUpdates)->isEnabled());
    EXPECT_EQ(m_app.CountOpenDocuments(), 2);

    // Only the first window clears the flag: a window opened afterwards keeps it.
    CMainFrame* third = m_app.NewConfiguration();
    third->UpdateIdle();
    EXPECT_TRUE(m_app.UpdateCheckFlag());
    EXPECT_TRUE(third->Command(kCheckForUpdates)->isEnabled());
}

TEST_F(FirmwareCommandsTest, UpgradeFromTheFrameInstallsTheImageAndLeavesTheDocumentOffline)
{
    const QString accessCode = QStringLiteral("4321");
    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--firmware"), QStringLiteral("0.09"), QStringLiteral("--ftp-port"),
                           QStringLiteral("0"), QStringLiteral("--ftp-root"), sim.TempPath(QStringLiteral("ftp")),
                           QStringLiteral("--access-code"), accessCode}))
        << sim.Error().toStdString();
    const auto ftp = QRegularExpression(QStringLiteral("ftp=127\\.0\\.0\\.1:(\\d+)")).match(sim.ReadyLine());
    ASSERT_TRUE(ftp.hasMatch()) << sim.ReadyLine().toStdString();
    SetSetting(QStringLiteral("Network/FtpPort"), ftp.captured(1).toInt());

    // Revision 0.10 by its CRC-32, newer than the device's 0.09.
    const QByteArray image = WithCrc32(QByteArray(3000, '\x3C'), 0x650CB6B6u);
    ASSERT_TRUE(WriteAll(m_work.filePath(QStringLiteral("UPIMG.BIN")), image));

    CMainFrame* frame = NewTcpConfiguration(QStringLiteral("127.0.0.1"), sim.TcpPort());
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->Document().connectionState, int(CquillTrakDoc::Online));
    ScriptedUserInterface& ui = *m_uis.back();
    ui.messages.clear();
    ui.accessCode = accessCode;

    frame->UpdateIdle();
    ASSERT_TRUE(frame->Command(kUpgradeFirmware)->isEnabled());
    frame->Command(kUpgradeFirmware)->trigger();

    ASSERT_GE(ui.messages.size(), 2u) << ui.MessageTexts().join(QLatin1Char('|')).toStdString();
    const ScriptedUserInterface::Message& warning = ui.messages.front();
    EXPECT_TRUE(warning.text.startsWith(QStringLiteral("WARNING: Upgrading will erase ALL memory")));
    EXPECT_EQ(warning.caption, QStringLiteral("Firmware Upgrade Wizard"));
    EXPECT_EQ(warning.buttons, UserInterface::Buttons::OkCancel);
    EXPECT_EQ(warning.icon, UserInterface::Icon::Warning);
    EXPECT_EQ(ui.messages.back().text, QStringLiteral("Transfer completed. The Corvantix will be factory initialized. "));
    EXPECT_EQ(ui.messages.back().caption, QStringLiteral("Firmware Upgraded Successfully"));
    EXPECT_EQ(ui.progressTitle, QStringLiteral("Firmware Upgrade Wizard"));

    const QByteArray descriptor = QByteArray::fromHex("00000BBC650CB6B6");
    EXPECT_EQ(ReadAll(m_work.filePath(QStringLiteral("APPINFO.DAT"))).toHex(), descriptor.toHex());
    EXPECT_EQ(ReadAll(sim.TempPath(QStringLiteral("ftp/firmware/APPINFO.DAT"))).toHex(), descriptor.toHex());
    EXPECT_EQ(ReadAll(sim.TempPath(QStringLiteral("ftp/firmware/UPIMG.BIN"))), image);

    EXPECT_EQ(frame->Document().connectionState, int(CquillTrakDoc::Offline));
    EXPECT_EQ(frame->PaneText(CDocFrame::kStatePane), QStringLiteral(" Offline  "));
    EXPECT_FALSE(frame->Command(151)->isEnabled());
    // The session's time-out was raised for the RAM executive only.
    EXPECT_EQ(m_app.Internet()->ReceiveTimeout(), CquillTrakApp::kFtpTimeoutMs);
}

TEST_F(FirmwareCommandsTest, CheckForUpdatesFromTheFrameReadsTheServersRevisionFile)
{
    QTemporaryDir updates;
    ASSERT_TRUE(updates.isValid());
    FtpServerFixture server;
    server.SetExtraArguments({QStringLiteral("--anonymous-root"), updates.path()});
    QString error;
    ASSERT_TRUE(server.Start(&error)) << error.toStdString();
    SetSetting(QStringLiteral("Network/UpdateServer"), QStringLiteral("127.0.0.1"));
    SetSetting(QStringLiteral("Network/FtpPort"), int(server.Port()));

    CMainFrame* frame = m_app.NewConfiguration();
    ScriptedUserInterface& ui = *m_uis.back();
    m_app.SetUpdateCheckFlag(true);
    frame->UpdateIdle();
    ASSERT_TRUE(frame->Command(kCheckForUpdates)->isEnabled());

    struct Case {
        QByteArray revision;
        QString message;
        QString caption;
    };
    const Case cases[] = {
        // Declined: the application keeps running.
        {"0.11\r\n", QStringLiteral("A newer revision of Quarrant Liquid (revision 00.11) is now available. Upgrade now?"),
         QStringLiteral("Quarrant for Corvantix.net Liquid Upgrade Wizard")},
        {"0.10\r\n", QStringLiteral("You are currently running the latest revision of Quarrant for Corvantix.net Liquid."),
         QString()},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteAll(updates.filePath(QStringLiteral("QuarrantL/REV.TXT")), c.revision));
        ui.messages.clear();
        ui.answers = {UserInterface::Cancel};
        frame->Command(kCheckForUpdates)->trigger();
        ASSERT_EQ(ui.messages.size(), 1u) << ui.MessageTexts().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(ui.messages[0].caption, c.caption);
        EXPECT_EQ(ReadAll(m_work.filePath(QStringLiteral("REV.TXT"))), c.revision);
    }

    // Accepted: the installer's address opens and the event loop ends at once; the modified
    // document is not offered for saving and its frame is not closed.
    ASSERT_TRUE(WriteAll(updates.filePath(QStringLiteral("QuarrantL/REV.TXT")), "0.11"));
    frame->Document().SetModifiedFlag(true);
    QList<QUrl> opened;
    CUrlOpener::SetHandler([&opened](const QUrl& url) {
        opened << url;
        return true;
    });
    ui.messages.clear();
    ui.answers = {UserInterface::Ok};
    // The application's own loop: an exit also ends every loop entered later until the next
    // QCoreApplication::exec(), which a QEventLoop here would leave set for later tests.
    QTimer::singleShot(0, frame, [frame] { frame->Command(kCheckForUpdates)->trigger(); });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(20000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    guard.stop();
    CUrlOpener::SetHandler({});
    EXPECT_EQ(opened, QList<QUrl>({QUrl(UpdateSettings::InstallerUrl())}));
    EXPECT_EQ(ui.MessageTexts(),
              QStringList({QStringLiteral("A newer revision of Quarrant Liquid (revision 00.11) is now available. "
                                          "Upgrade now?")}));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(m_app.CountOpenDocuments(), 1);
    frame->Document().SetModifiedFlag(false);
}

} // namespace
