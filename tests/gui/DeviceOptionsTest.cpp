// Options for this device (143) through the frame's menu command and the real setup dialog:
// OK with TCP/IP reconnects to the device at the new address and marks the document modified;
// a serial port's "Comm Port Settings..." writes the port's mode text and protocol to "Comm";
// Cancel leaves the document as it was but keeps port settings already confirmed.
#include <gtest/gtest.h>

#include "../e2e/SimProcess.h"
#include "ModalDriver.h"
#include "ScriptedUserInterface.h"
#include "app/CMainFrame.h"
#include "app/CquillTrakApp.h"
#include "dialogs/CCommSetupDialog.h"
#include "dialogs/CPortSettings.h"

#include "ValueFormat.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

namespace {

QSettings AppSettings()
{
    return QSettings(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid"));
}

class DeviceOptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_app.SetUiFactory([](CDocFrame&) { return std::make_unique<ScriptedUserInterface>(); });
        // Port 3 leads nowhere, so contacting a device there fails at once.
        AppSettings().setValue(QStringLiteral("Comm/COM3_Device"), QStringLiteral("/nonexistent/quarrant-line"));
        AppSettings().remove(QStringLiteral("Comm/COM3"));
        AppSettings().remove(QStringLiteral("Comm/COM3_Protocol"));
        m_frame = m_app.NewConfiguration();
        m_frame->Document().SetModifiedFlag(false);
    }

    // Runs the menu command while the action drives the setup dialog.
    void RunWithDialog(std::function<void(CCommSetupDialog&)> action)
    {
        DriveNextModal<CCommSetupDialog>(std::move(action));
        ASSERT_TRUE(m_frame->Command(143)->isEnabled());
        m_frame->Command(143)->trigger();
    }

    CquillTrakApp m_app;
    CMainFrame* m_frame = nullptr;
};

TEST_F(DeviceOptionsTest, OkWithTcpIpReconnectsToTheNewAddress)
{
    // A simulator on the device's own TCP port 7734, at an address of this test's own.
    const QString host = QStringLiteral("127.%1.%2.9").arg(40 + QCoreApplication::applicationPid() % 50).arg(QCoreApplication::applicationPid() % 250);
    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--tcp"), host, QStringLiteral("--tcp-port"), QStringLiteral("7734")}))
        << sim.Error().toStdString();

    RunWithDialog([&host](CCommSetupDialog& dialog) {
        dialog.PortList()->setCurrentIndex(0);
        dialog.AddressEdit()->setText(host);
        dialog.accept();
    });
    CquillTrakDoc& doc = m_frame->Document();
    EXPECT_EQ(doc.port, 0);
    EXPECT_EQ(doc.deviceAddress, ParseDottedIp(host).value());
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(m_frame->PaneText(CDocFrame::kStatePane), QStringLiteral(" *ONLINE* "));
    EXPECT_TRUE(m_frame->Command(151)->isEnabled());
}

TEST_F(DeviceOptionsTest, SerialPortSettingsAreStoredAndTheDocumentMovesToThePort)
{
    RunWithDialog([](CCommSetupDialog& dialog) {
        dialog.PortList()->setCurrentIndex(3);
        dialog.AddressEdit()->setText(QStringLiteral("10.0.0.7"));
        dialog.SetPortDialogRunner([](CPortSettings& ports) {
            ports.BaudList()->setCurrentIndex(3);       // 9600
            ports.DataParityList()->setCurrentIndex(2); // 7/Even
            ports.ProtocolList()->setCurrentIndex(0);   // Terminal
            ports.accept();
            return true;
        });
        dialog.PortSettingsButton()->click();
        dialog.accept();
    });
    EXPECT_EQ(AppSettings().value(QStringLiteral("Comm/COM3")).toString(), QStringLiteral("9600,E,7,1"));
    EXPECT_EQ(AppSettings().value(QStringLiteral("Comm/COM3_Protocol")).toInt(), 0);
    CquillTrakDoc& doc = m_frame->Document();
    EXPECT_EQ(doc.port, 3);
    EXPECT_EQ(doc.deviceAddress, 0x0A000007u);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(m_frame->PaneText(CDocFrame::kStatePane), QStringLiteral(" Offline  "));
}

TEST_F(DeviceOptionsTest, CancelKeepsTheDocumentButNotTheConfirmedPortSettings)
{
    const int port = m_frame->Document().port;
    const uint32_t address = m_frame->Document().deviceAddress;
    RunWithDialog([](CCommSetupDialog& dialog) {
        dialog.PortList()->setCurrentIndex(3);
        dialog.SetPortDialogRunner([](CPortSettings& ports) {
            ports.BaudList()->setCurrentIndex(0); // 1200
            ports.accept();
            return true;
        });
        dialog.PortSettingsButton()->click();
        dialog.AddressEdit()->setText(QStringLiteral("10.1.1.1"));
        dialog.reject();
    });
    EXPECT_EQ(m_frame->Document().port, port);
    EXPECT_EQ(m_frame->Document().deviceAddress, address);
    EXPECT_FALSE(m_frame->Document().modified);
    EXPECT_TRUE(AppSettings().value(QStringLiteral("Comm/COM3")).toString().startsWith(QLatin1String("1200,")));
}

} // namespace
