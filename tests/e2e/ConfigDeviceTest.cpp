// The configuration document's device operations against the simulator as a real process,
// over TCP/IP and the pseudo-terminal, through a real CquillTrakDoc and a scripted user
// interface: Read All and Dump All against the simulator's own state file, the connection
// states of a locked device and of older firmware, a device that died, line faults answered
// with Retry, logs, and the log-off after a completed dump only.
#include "SimLine.h"

#include "ConfigComparison.h"
#include "CquillTrakDoc.h"
#include "DeviceConnection.h"
#include "DocumentCommand.h"
#include "LogTransfer.h"
#include "ProgramCodeTransfer.h"
#include "ScriptedUserInterface.h"
#include "ValueFormat.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

namespace {

// A value inside the program code's range, different from the simulator's factory default.
QString SampleValue(const DBParam& p)
{
    const ParamDef& def = *p.def;
    if (def.type == ValueType::Text)
        return QStringLiteral("R%1-%2").arg(p.instance).arg(p.number).left(int(def.maximum));
    const double v = double(def.minimum) + (double(def.maximum) - double(def.minimum)) / 3.0;
    if (IsIntegralType(def.Type()))
        return QString::number(qulonglong(v) + (def.maximum - def.minimum >= 1.0f ? 1 : 0));
    return QString::number(v, 'f', 2);
}

// A sample value in every writable program code and level 2 wherever there is a level.
void FillSamples(CquillTrakDoc& doc)
{
    for (DBParam* p = doc.Sections().Chain(); p; p = p->next) {
        if (!p->IsReadOnly())
            StoreValue(doc.Image(), *p, SampleValue(*p));
        doc.SetSecurityLevel(*p, 2);
        p->programmed = 1;
    }
}

QString SaveSamples(const SimProcess& sim)
{
    CquillTrakDoc doc;
    FillSamples(doc);
    const QString path = sim.TempPath(QStringLiteral("samples.qcf"));
    EXPECT_TRUE(doc.SaveFile(path));
    return path;
}

bool Load(CquillTrakDoc& doc, const QString& path)
{
    ScriptedUserInterface ui;
    return doc.OpenFile(path, ui);
}

// Describes the differences for a failure message.
std::string Describe(const std::vector<ConfigComparison::Difference>& differences)
{
    std::string out;
    for (size_t i = 0; i < differences.size() && i < 5; ++i) {
        const auto& d = differences[i];
        out += std::string(d.param->def->name) + ": '" + d.a.value.toStdString() + "'/" + std::to_string(d.a.level)
            + " vs '" + d.b.value.toStdString() + "'/" + std::to_string(d.b.level) + "\n";
    }
    return out;
}

// A document connected to the simulator through the given line; the TCP/IP receive wait is
// short so that dropped replies do not hold the test up.
struct Session {
    ScriptedUserInterface ui;
    CquillTrakDoc doc;
    DeviceConnection connection{doc, ui};

    Session(const SimProcess& sim, SimLine line)
    {
        connection.SetLinkFactory([&sim, line](const CquillTrakDoc&) {
            return ConnectSim(sim, line, 1, std::chrono::milliseconds(300));
        });
    }
};

QStringList Arguments(std::initializer_list<const char*> list)
{
    QStringList out;
    for (const char* a : list)
        out << QString::fromLatin1(a);
    return out;
}

// The commands the simulator logged with --verbose ("name: COMMAND -> REPLY").
QStringList LoggedCommands(const QString& log)
{
    QStringList out;
    static const QRegularExpression line(QStringLiteral("^quarrant-devsim: .*?: (.*) -> "),
                                         QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(log); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

class ConfigDeviceLineTest : public ::testing::TestWithParam<SimLine> {};

} // namespace

TEST_P(ConfigDeviceLineTest, ReadAllGivesTheSimulatorsState)
{
    SimProcess sim;
    const QString state = SaveSamples(sim);
    const QString out = sim.TempPath(QStringLiteral("out.qcf"));
    ASSERT_TRUE(sim.Start(SimLineOptions(sim, GetParam(), {QStringLiteral("--state"), state, QStringLiteral("--state-out"), out})))
        << qPrintable(sim.Error());

    Session s(sim, GetParam());
    s.doc.OnNewDocument();
    ASSERT_EQ(s.doc.connectionState, CquillTrakDoc::Online);
    ProgramCodeTransfer transfer(s.connection);
    ASSERT_EQ(transfer.ReadAll(), ProgramCodeTransfer::Outcome::Completed);
    EXPECT_TRUE(s.ui.messages.empty()) << qPrintable(s.ui.MessageTexts().join(QLatin1Char('\n')));
    EXPECT_EQ(s.ui.steps, s.doc.programCodeCount);

    ASSERT_EQ(sim.Stop(), 0) << qPrintable(sim.Stderr());
    CquillTrakDoc device;
    ASSERT_TRUE(Load(device, out));
    const auto differences = ConfigComparison::Compare(s.doc, device);
    EXPECT_TRUE(differences.empty()) << Describe(differences);
    for (const DBParam* p = s.doc.Sections().Chain(); p; p = p->next)
        ASSERT_TRUE(p->programmed) << p->def->name;
}

TEST_P(ConfigDeviceLineTest, DumpAllMakesAFreshSimulatorEqualTheDocument)
{
    SimProcess sim;
    const QString out = sim.TempPath(QStringLiteral("out.qcf"));
    ASSERT_TRUE(sim.Start(SimLineOptions(sim, GetParam(), {QStringLiteral("--state-out"), out}))) << qPrintable(sim.Error());

    Session s(sim, GetParam());
    ASSERT_TRUE(s.doc.OpenFile(SaveSamples(sim), s.ui)); // loading connects
    ASSERT_EQ(s.doc.connectionState, CquillTrakDoc::Online);

    ProgramCodeTransfer transfer(s.connection);
    ASSERT_EQ(transfer.DumpAll(), ProgramCodeTransfer::Outcome::Completed);
    // The device's clock cannot be set this way; everything else is taken.
    EXPECT_EQ(s.ui.MessageTexts(),
              (QStringList{QStringLiteral("Unable to write 101 Date{O}"), QStringLiteral("Unable to write 102 Time{O}")}));

    ASSERT_EQ(sim.Stop(), 0) << qPrintable(sim.Stderr());
    CquillTrakDoc device;
    ASSERT_TRUE(Load(device, out));
    const auto differences = ConfigComparison::Compare(s.doc, device);
    EXPECT_TRUE(differences.empty()) << Describe(differences);
}

INSTANTIATE_TEST_SUITE_P(Lines, ConfigDeviceLineTest,
                         ::testing::Values(SimLine::Tcp, SimLine::PtyMini, SimLine::PtyTerminal),
                         [](const auto& info) { return std::string(SimLineName(info.param)); });

TEST(ConfigDeviceTest, LockedDeviceIsReadOnlyAndRefusesTheDump)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--locked")})) << qPrintable(sim.Error());
    Session s(sim, SimLine::Tcp);
    s.doc.OnNewDocument();
    EXPECT_EQ(s.doc.connectionState, CquillTrakDoc::ReadOnly);
    EXPECT_EQ(s.ui.statusTexts[0], QStringLiteral(" *READ ONLY* "));
    EXPECT_TRUE(IsCommandEnabled(s.doc, DocumentCommand::ReadAll));
    EXPECT_FALSE(IsCommandEnabled(s.doc, DocumentCommand::DumpAll));
    EXPECT_FALSE(IsCommandEnabled(s.doc, DocumentCommand::DumpSelectedFolder));

    ProgramCodeTransfer transfer(s.connection);
    EXPECT_EQ(transfer.DumpAll(), ProgramCodeTransfer::Outcome::NotEnabled);
    s.doc.currentSection = 13;
    EXPECT_EQ(transfer.ReadSelectedFolder(), ProgramCodeTransfer::Outcome::Completed);
    EXPECT_EQ(s.ui.progressUpper, 40);
    EXPECT_TRUE(s.ui.messages.empty());
}

TEST(ConfigDeviceTest, OlderFirmwareIsNamedOnEveryRetry)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--firmware"), QStringLiteral("0.09")})) << qPrintable(sim.Error());
    Session s(sim, SimLine::Tcp);
    const QString notice = QStringLiteral("The Corvantix.net Liquid online is an older revision (Rev 0.09). \nNot all "
                                          "Rev 0.10 program codes may be supported.");
    s.doc.OnNewDocument();
    s.connection.RetryCommunications();
    s.connection.Connect(true);
    s.connection.RetryCommunications();
    EXPECT_EQ(s.ui.MessageTexts(), (QStringList{notice, notice, notice}));
    EXPECT_EQ(s.doc.connectionState, CquillTrakDoc::Online);
    EXPECT_FLOAT_EQ(s.doc.deviceRevision, 0.09f);
}

TEST(ConfigDeviceTest, DeadDeviceIsNotResponding)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({})) << qPrintable(sim.Error());
    Session s(sim, SimLine::Tcp);
    s.doc.OnNewDocument();
    ASSERT_EQ(s.doc.connectionState, CquillTrakDoc::Online);
    sim.Stop();

    ProgramCodeTransfer transfer(s.connection);
    EXPECT_EQ(transfer.ReadAll(), ProgramCodeTransfer::Outcome::NotResponding);
    EXPECT_EQ(s.ui.MessageTexts(), QStringList{QStringLiteral("Corvantix.net Liquid not responding")});
    for (const DBParam* p = s.doc.Sections().Chain(); p; p = p->next)
        ASSERT_FALSE(p->programmed);
    EXPECT_LT(s.doc.connectionState, CquillTrakDoc::ReadOnly);
}

TEST(ConfigDeviceTest, LineFaultsAnsweredWithRetryGiveACompleteRead)
{
    struct Case {
        SimLine line;
        QStringList faults;
    };
    const Case cases[] = {
        // Every dropped reply costs one receive wait (300 ms here, 2.1 s on the serial line),
        // so drops go over TCP/IP; damaged frames are seen at once on either line.
        {SimLine::Tcp, Arguments({"--fault", "drop=29", "--fault", "bad-check=11", "--fault", "noise=3"})},
        {SimLine::PtyMini, Arguments({"--fault", "bad-check=5", "--fault", "noise=6"})},
        {SimLine::PtyTerminal, Arguments({"--fault", "bad-check=9", "--fault", "noise=7"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(SimLineName(c.line));
        SimProcess sim;
        const QString state = SaveSamples(sim);
        const QString out = sim.TempPath(QStringLiteral("out.qcf"));
        QStringList options = c.faults;
        options << QStringLiteral("--state") << state << QStringLiteral("--state-out") << out;
        ASSERT_TRUE(sim.Start(SimLineOptions(sim, c.line, options))) << qPrintable(sim.Error());

        Session s(sim, c.line);
        s.doc.OnNewDocument();
        ASSERT_EQ(s.doc.connectionState, CquillTrakDoc::Online);
        s.ui.answers.assign(1000, UserInterface::Retry);
        ProgramCodeTransfer transfer(s.connection);
        ASSERT_EQ(transfer.ReadAll(), ProgramCodeTransfer::Outcome::Completed);
        EXPECT_GT(s.ui.messages.size(), 10u);
        for (const auto& m : s.ui.messages)
            EXPECT_EQ(m.buttons, UserInterface::Buttons::AbortRetryIgnore) << qPrintable(m.text);
        EXPECT_EQ(s.ui.steps, s.doc.programCodeCount); // retries do not step

        ASSERT_EQ(sim.Stop(), 0) << qPrintable(sim.Stderr());
        CquillTrakDoc device;
        ASSERT_TRUE(Load(device, out));
        const auto differences = ConfigComparison::Compare(s.doc, device);
        EXPECT_TRUE(differences.empty()) << Describe(differences);
    }
}

TEST(ConfigDeviceTest, LogOffFollowsACompletedDumpOnly)
{
    struct Case {
        const char* name;
        int cancelAfterSteps;
        ProgramCodeTransfer::Outcome outcome;
        int logOffs;
    };
    const Case cases[] = {
        {"completed", -1, ProgramCodeTransfer::Outcome::Completed, 1},
        {"cancelled", 2, ProgramCodeTransfer::Outcome::Cancelled, 0},
    };
    for (const Case& c : cases) {
        SimProcess sim;
        ASSERT_TRUE(sim.Start({QStringLiteral("--verbose")})) << qPrintable(sim.Error());
        Session s(sim, SimLine::Tcp);
        s.doc.OnNewDocument();
        for (DBParam* p : s.doc.Sections().SectionParams(1))
            p->programmed = 1;
        s.doc.currentSection = 1;
        s.ui.cancelAfterSteps = c.cancelAfterSteps;
        ProgramCodeTransfer transfer(s.connection);
        EXPECT_EQ(transfer.DumpSelectedFolder(), c.outcome) << c.name;
        sim.Stop();
        const QStringList commands = LoggedCommands(sim.Stderr());
        EXPECT_EQ(commands.count(QStringLiteral("LO")), c.logOffs) << c.name;
        EXPECT_FALSE(commands.filter(QStringLiteral("PC CF ")).isEmpty()) << c.name;
    }
}

TEST(ConfigDeviceTest, LogsNewestFirst)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start(Arguments({"--events", "3", "--audits", "3", "--transactions", "9999"}))) << qPrintable(sim.Error());
    Session s(sim, SimLine::Tcp);
    s.doc.OnNewDocument();
    ASSERT_GE(s.doc.connectionState, CquillTrakDoc::ReadOnly);
    VandtProtocol& link = *s.connection.Link();
    auto reply = [&link](const QByteArray& command) {
        QByteArray text;
        EXPECT_TRUE(link.Send(command));
        EXPECT_EQ(link.Receive(text), 0) << command.constData();
        return text;
    };

    const QString file = sim.TempPath(QStringLiteral("log.txt"));
    for (const auto& [log, entry] : {std::pair{LogTransfer::Log::Event, "ER"}, std::pair{LogTransfer::Log::Audit, "PR"}}) {
        LogTransfer transfer(s.connection);
        transfer.SetFilePath(file);
        ASSERT_EQ(transfer.Run(log), LogTransfer::Outcome::Completed);
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QByteArray expected;
        for (int n = 3; n >= 1; --n)
            expected += reply(QByteArray(entry) + ' ' + QByteArray::number(n)).mid(7) + "\r\n";
        EXPECT_EQ(f.readAll(), expected) << entry;
    }

    // The latest transaction is 9999, so the next is 1 and the walk starts at 9999.
    LogTransfer transfer(s.connection);
    transfer.SetFilePath(file);
    s.ui.cancelAfterSteps = s.ui.steps + 2;
    ASSERT_EQ(transfer.TransactionLogToFile(), LogTransfer::Outcome::Cancelled);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray expected;
    for (const char* n : {"9999", "9998"})
        expected += reply(QByteArray("TR ") + n).mid(3) + ',' + reply(QByteArray("TU ") + n).mid(14) + "\r\n";
    EXPECT_EQ(f.readAll(), expected);
}
