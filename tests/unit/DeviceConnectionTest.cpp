// The document's connection to its device: Connect with its status-pane messages, states and
// notices, the program-mode probe, the firmware table, LogOff, the connection commands and
// the one enable rule of the document's commands. The device is a FakeDevice in-process.
#include "CommTemporarySettings.h"
#include "ConfigFakeDevice.h"
#include "ConnectionStateText.h"
#include "DocumentCommand.h"
#include "FirmwareTable.h"
#include "ScriptedUserInterface.h"

#include <gtest/gtest.h>

namespace {

const QString kContacting = QStringLiteral("Attempting to contact Corvantix.net Liquid ...");
const QString kWaiting = QStringLiteral("Attempting to contact Corvantix.net Liquid - waiting for reply...");
const QString kProbing = QStringLiteral("Testing for Program mode access...");
const QString kReady = QStringLiteral("Ready");
const QString kUnknownRevision = QStringLiteral(
    "Quarrant Liquid does not recognize this revision of Corvantix.net Liquid. \nVerify Quarrant Liquid is the "
    "correct version (Check Help|About)");
const QString kOlder009 = QStringLiteral("The Corvantix.net Liquid online is an older revision (Rev 0.09). \nNot all "
                                         "Rev 0.10 program codes may be supported.");

std::vector<QByteArray> Commands(std::initializer_list<const char*> list)
{
    std::vector<QByteArray> out;
    for (const char* c : list)
        out.emplace_back(c);
    return out;
}

} // namespace

TEST(ConnectionStateTextTest, TableByState)
{
    const std::pair<int, const char*> cases[] = {
        {-1, ""}, {0, " ? Comm "}, {1, " Offline  "}, {2, " *READ ONLY* "},
        {3, " *ONLINE/ARM* "}, {4, " *ONLINE* "}, {5, ""},
    };
    for (const auto& [state, text] : cases)
        EXPECT_EQ(ConnectionStateText(state), QString::fromLatin1(text)) << state;
}

TEST(FirmwareTableTest, RevisionsAndChecksumReading)
{
    EXPECT_FLOAT_EQ(FirmwareTable::Revision(0x650CB6B6), 0.10f);
    EXPECT_FLOAT_EQ(FirmwareTable::Revision(0x4C385439), 0.09f);
    EXPECT_FLOAT_EQ(FirmwareTable::Revision(0x7E874DCE), 0.00f);
    EXPECT_FLOAT_EQ(FirmwareTable::Revision(0x12345678), -1.0f);
    // The end row's CRC 0 is never a release: a reply without digits is unknown.
    EXPECT_FLOAT_EQ(FirmwareTable::Revision(0), -1.0f);
    EXPECT_EQ(FirmwareTable::Rows().size(), 11u);

    const std::pair<const char*, uint32_t> texts[] = {
        {"650CB6B6", 0x650CB6B6}, {"  4c385439", 0x4C385439}, {"BDEF70D4 rest", 0xBDEF70D4},
        {"", 0}, {"XYZ", 0}, {"123456789ABC", 0xFFFFFFFF},
    };
    for (const auto& [text, crc] : texts)
        EXPECT_EQ(FirmwareTable::ParseChecksum(text), crc) << text;
}

TEST(DeviceConnectionTest, ProbeCommandFromTheIdentifyReply)
{
    const std::pair<const char*, const char*> cases[] = {
        {"PV SY 111 1", "PC SY 111 1"},
        {"PV SY 111 0 trailing", "PC SY 111 0"},
        {"PV SY 111 ", ""},  // no value character: nothing to write back
        {"PV SY 111", ""},
        {"PV SY 111  1", ""}, // a blank where the value should start
        {"PV CF 111 1", ""},  // not the identify echo
        {"", ""},
    };
    for (const auto& [reply, probe] : cases)
        EXPECT_EQ(DeviceConnection::ProbeCommand(reply), QByteArray(probe)) << reply;
}

TEST(DeviceConnectionTest, NewDocumentGoesOnlineWithEveryMessage)
{
    ScriptedUserInterface ui;
    FakeSetup s(ui);
    s.device.values["SY 111"] = "0";
    s.doc.OnNewDocument();

    EXPECT_EQ(s.doc.connectionState, CquillTrakDoc::Online);
    EXPECT_EQ(s.device.sent, Commands({"PV SY 111", "GP", "PC SY 111 0"}));
    EXPECT_EQ(ui.paneMessages,
              (std::vector<QString>{kContacting, kWaiting, kReady, kProbing, kReady}));
    EXPECT_EQ(ui.statusTexts[0], QStringLiteral(" *ONLINE* "));
    EXPECT_EQ(ui.statusTexts[1], QStringLiteral("Fake:1"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FLOAT_EQ(s.doc.deviceRevision, 0.10f);
    EXPECT_EQ(ui.waitCursorDepth, 0);
}

TEST(DeviceConnectionTest, OutcomesOfContact)
{
    struct Case {
        const char* name;
        std::function<void(FakeDevice&)> setUp;
        int state;
        std::vector<QByteArray> sent;
        QStringList messages;
    };
    const Case cases[] = {
        {"probe rejected", [](FakeDevice& d) { d.locked = true; }, CquillTrakDoc::ReadOnly,
         Commands({"PV SY 111", "GP", "PC SY 111 1"}), {}},
        {"no answer", [](FakeDevice& d) { d.answering = false; }, CquillTrakDoc::Offline,
         Commands({"PV SY 111"}), {}},
        {"identify rejected", [](FakeDevice& d) { d.script["PV SY 111"].push_back(FakeReply::Rejected(0)); },
         CquillTrakDoc::Offline, Commands({"PV SY 111"}), {}},
        {"identify not sent", [](FakeDevice& d) { d.script["PV SY 111"].push_back(FakeReply::SendFailure()); },
         CquillTrakDoc::Offline, Commands({"PV SY 111"}), {}},
        {"unknown firmware", [](FakeDevice& d) { d.firmwareCrc = 0xDEADBEEF; }, CquillTrakDoc::Online,
         Commands({"PV SY 111", "GP", "PC SY 111 1"}), {kUnknownRevision}},
        {"GP fails", [](FakeDevice& d) { d.script["GP"].push_back(FakeReply::Timeout()); }, CquillTrakDoc::Online,
         Commands({"PV SY 111", "GP", "PC SY 111 1"}), {kUnknownRevision}},
        {"older firmware", [](FakeDevice& d) { d.firmwareCrc = 0x4C385439; }, CquillTrakDoc::Online,
         Commands({"PV SY 111", "GP", "PC SY 111 1"}), {kOlder009}},
        {"no value in the identify reply", [](FakeDevice& d) { d.values["SY 111"] = ""; }, CquillTrakDoc::ReadOnly,
         Commands({"PV SY 111", "GP"}), {}},
    };
    for (const Case& c : cases) {
        ScriptedUserInterface ui;
        FakeSetup s(ui);
        c.setUp(s.device);
        s.doc.OnNewDocument();
        EXPECT_EQ(s.doc.connectionState, c.state) << c.name;
        EXPECT_EQ(s.device.sent, c.sent) << c.name;
        EXPECT_EQ(ui.MessageTexts(), c.messages) << c.name;
        EXPECT_EQ(ui.statusTexts[2], kReady) << c.name;
        EXPECT_EQ(ui.statusTexts[0], ConnectionStateText(c.state)) << c.name;
    }
}

TEST(DeviceConnectionTest, NoProtocolMeansNoLink)
{
    ScriptedUserInterface ui;
    CquillTrakDoc doc;
    DeviceConnection connection(doc, ui);
    connection.SetLinkFactory([](const CquillTrakDoc&) { return nullptr; });
    doc.OnNewDocument();
    EXPECT_EQ(doc.connectionState, CquillTrakDoc::NoLink);
    EXPECT_EQ(ui.statusTexts[0], QStringLiteral(" ? Comm "));
    EXPECT_EQ(ui.statusTexts[1], QString());
    EXPECT_EQ(ui.paneMessages, (std::vector<QString>{kContacting, kReady}));
    EXPECT_FALSE(connection.LogOff());
}

TEST(DeviceConnectionTest, NewDocumentWithoutItsSerialPortEndsOffline)
{
    CommTemporarySettings settings;
    CommTemporarySettings::Set(QStringLiteral("COM1_Device"), QStringLiteral("/nonexistent/quarrant-tty"));
    ScriptedUserInterface ui;
    CquillTrakDoc doc;
    DeviceConnection connection(doc, ui);
    doc.OnNewDocument();
    EXPECT_EQ(doc.connectionState, CquillTrakDoc::Offline);
    ASSERT_NE(connection.Link(), nullptr);
    EXPECT_FALSE(connection.Link()->Port().IsOpen());
}

TEST(DeviceConnectionTest, RevisionNoticeComesBackOnlyWithRetry)
{
    ScriptedUserInterface ui;
    FakeSetup s(ui);
    s.device.firmwareCrc = 0x4C385439;
    s.doc.OnNewDocument();
    ASSERT_EQ(ui.MessageTexts(), QStringList{kOlder009});

    EXPECT_EQ(s.connection.Connect(true), CquillTrakDoc::Online);
    EXPECT_EQ(ui.messages.size(), 1u); // already identified: no second notice

    EXPECT_EQ(s.connection.RetryCommunications(), CquillTrakDoc::Online);
    EXPECT_EQ(ui.MessageTexts(), (QStringList{kOlder009, kOlder009}));
    EXPECT_FLOAT_EQ(s.doc.deviceRevision, 0.09f);
}

TEST(DeviceConnectionTest, LogOffConnectsThenSendsLO)
{
    ScriptedUserInterface ui;
    FakeSetup s(ui);
    s.New();
    EXPECT_TRUE(s.connection.LogOff());
    EXPECT_EQ(s.device.sent, Commands({"PV SY 111", "LO"}));

    s.device.sent.clear();
    s.device.script["LO"].push_back(FakeReply::Rejected(94));
    EXPECT_FALSE(s.connection.LogOff());

    // A device that no longer answers is not sent the log-off.
    s.device.sent.clear();
    s.device.answering = false;
    EXPECT_FALSE(s.connection.LogOff());
    EXPECT_EQ(s.device.sent, Commands({"PV SY 111"}));
    s.device.answering = true;
    s.connection.RetryCommunications();

    // A save while online logs off through the document; offline it sends nothing.
    QTemporaryDir dir;
    s.device.sent.clear();
    ASSERT_TRUE(s.doc.SaveFile(dir.filePath(QStringLiteral("a.qcf"))));
    EXPECT_EQ(s.device.sent, Commands({"PV SY 111", "LO"}));
    s.connection.GoOffline();
    s.device.sent.clear();
    ASSERT_TRUE(s.doc.SaveFile(dir.filePath(QStringLiteral("b.qcf"))));
    EXPECT_TRUE(s.device.sent.empty());
}

TEST(DeviceConnectionTest, GoOfflineKeepsTheLinkAndSendsNothing)
{
    ScriptedUserInterface ui;
    FakeSetup s(ui);
    s.New();
    VandtProtocol* link = s.connection.Link();
    s.connection.GoOffline();
    EXPECT_EQ(s.doc.connectionState, CquillTrakDoc::Offline);
    EXPECT_EQ(s.connection.Link(), link);
    EXPECT_TRUE(s.device.sent.empty());
    EXPECT_EQ(ui.statusTexts[0], QStringLiteral(" Offline  "));
}

TEST(DeviceConnectionTest, OptionsApplyNewSettingsAndReconnect)
{
    CommTemporarySettings settings;
    CommTemporarySettings::Set(QStringLiteral("COM5_Device"), QStringLiteral("/nonexistent/quarrant-tty5"));
    ScriptedUserInterface ui;
    FakeSetup s(ui);
    s.New();
    s.doc.modified = false;

    // The new settings replace the test's link factory: the document's own port is used.
    EXPECT_EQ(s.connection.ApplyOptions(5, 0x0A000007), CquillTrakDoc::Offline);
    EXPECT_EQ(s.doc.port, 5);
    EXPECT_EQ(s.doc.deviceAddress, 0x0A000007u);
    EXPECT_TRUE(s.doc.modified);
    ASSERT_NE(s.connection.Link(), nullptr);
    EXPECT_EQ(s.connection.Link()->UnitAddress(), 7);
    EXPECT_TRUE(s.device.sent.empty());
}

TEST(DeviceConnectionTest, LoadingAFileDropsTheLinkAndConnectsWithTheProbe)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.qcf"));
    {
        CquillTrakDoc source;
        source.port = 0;
        source.deviceAddress = 0x7F000001;
        ASSERT_TRUE(source.SaveFile(path));
    }
    ScriptedUserInterface ui;
    FakeSetup s(ui);
    s.New();
    int linksMade = 0;
    s.connection.SetLinkFactory([&](const CquillTrakDoc&) {
        ++linksMade;
        return std::make_unique<FakeLink>(s.device);
    });
    ASSERT_TRUE(s.doc.OpenFile(path, ui));
    EXPECT_EQ(linksMade, 1);
    EXPECT_EQ(s.device.sent, Commands({"PV SY 111", "PC SY 111 1"}));
    EXPECT_EQ(s.doc.connectionState, CquillTrakDoc::Online);
}

TEST(DocumentCommandTest, EnableRulesByState)
{
    using C = DocumentCommand;
    // Columns: NoLink, Offline, ReadOnly, Online.
    const int states[] = {CquillTrakDoc::NoLink, CquillTrakDoc::Offline, CquillTrakDoc::ReadOnly,
                          CquillTrakDoc::Online};
    const std::pair<C, std::array<bool, 4>> rows[] = {
        {C::DeviceOptions, {true, true, true, true}},
        {C::RetryCommunications, {true, true, true, true}},
        {C::TerminalEmulator, {true, true, true, true}},
        {C::VisitWebSite, {true, true, true, true}},
        {C::GoOffline, {false, false, true, true}},
        {C::BrowseDevice, {false, false, true, true}},
        {C::ReadSelectedFolder, {false, false, true, true}},
        {C::ReadAll, {false, false, true, true}},
        {C::EventLog, {false, false, true, true}},
        {C::AuditLog, {false, false, true, true}},
        {C::TransactionLog, {false, false, true, true}},
        {C::DumpSelectedFolder, {false, false, false, true}},
        {C::DumpAll, {false, false, false, true}},
    };
    CquillTrakDoc doc;
    for (const auto& [command, enabled] : rows) {
        for (int i = 0; i < 4; ++i) {
            doc.connectionState = states[i];
            EXPECT_EQ(IsCommandEnabled(doc, command), enabled[size_t(i)]) << int(command) << " state " << states[i];
        }
    }

    // Firmware upgrade follows the port, not the state; the update check its flag.
    doc.connectionState = CquillTrakDoc::Offline;
    doc.port = 0;
    EXPECT_TRUE(IsCommandEnabled(doc, C::UpgradeFirmware));
    doc.port = 1;
    EXPECT_FALSE(IsCommandEnabled(doc, C::UpgradeFirmware));
    EXPECT_TRUE(IsCommandEnabled(doc, C::CheckForUpdates, true));
    EXPECT_FALSE(IsCommandEnabled(doc, C::CheckForUpdates, false));
    doc.connectionState = CquillTrakDoc::StateNone;
    EXPECT_FALSE(IsCommandEnabled(doc, C::ReadAll));
}
