// Reading and dumping program codes against an in-process device: what is sent, what is
// stored, the progress window, the selected ranges, rejections, Abort / Retry / Ignore,
// Cancel, the completion step and the log-off after a completed dump.
#include "ConfigFakeDevice.h"
#include "ProgramCodeTransfer.h"
#include "ScriptedUserInterface.h"
#include "Section.h"

#include <gtest/gtest.h>

namespace {

QByteArray Key(const DBParam& p)
{
    return QStringLiteral("%1 %2").arg(CommandDirectory(p.section, p.instance)).arg(p.number, 3, 10, QLatin1Char('0')).toLatin1();
}

int LevelFor(const DBParam& p)
{
    return p.def->HasSecurityLevel() ? 1 + p.number % 3 : 0;
}

// A value text that fits the program code's type and range, different per program code.
QString SampleValue(const DBParam& p, int seed)
{
    if (p.def->type == ValueType::Text)
        return QStringLiteral("T%1").arg((p.number + seed) % 1000);
    const int max = int(p.def->maximum);
    return QString::number(max > 0 ? (p.number + seed) % (max + 1) : 0);
}

// Fills the device with a value and a level for every program code; returns the texts the
// document should hold afterwards.
std::map<const DBParam*, QString> FillDevice(FakeDevice& device, const CquillTrakDoc& doc)
{
    CquillTrakDoc source;
    std::map<const DBParam*, QString> expected;
    DBParam* s = source.Sections().Chain();
    for (const DBParam* p = doc.Sections().Chain(); p; p = p->next, s = s->next) {
        StoreValue(source.Image(), *s, SampleValue(*s, s->instance));
        const QString text = FormatValue(*s, source.Image());
        device.values[Key(*p)] = text.toLatin1();
        device.levels[Key(*p)] = LevelFor(*p);
        expected[p] = text;
    }
    return expected;
}

// The text of a program code that holds no value.
QString EmptyText(const DBParam& p)
{
    static const ConfigImage empty;
    return FormatValue(p, empty);
}

DBParam* FindParam(CquillTrakDoc& doc, int section, int number)
{
    return doc.Sections().Find(section, number);
}

// The first program code with a security level in a section.
DBParam* FirstWithLevel(CquillTrakDoc& doc, int section)
{
    for (DBParam* p : doc.Sections().SectionParams(section)) {
        if (p->def->HasSecurityLevel())
            return p;
    }
    return nullptr;
}

struct TransferTest : ::testing::Test {
    ScriptedUserInterface ui;
    FakeSetup s{ui};
    int viewUpdates = 0;

    void SetUp() override
    {
        ASSERT_EQ(s.New(), CquillTrakDoc::Online);
        s.doc.SetUpdateViewsHook([this](CquillTrakDoc&) { ++viewUpdates; });
        s.doc.modified = false;
    }
    ProgramCodeTransfer::Outcome Run(DocumentCommand c)
    {
        ProgramCodeTransfer transfer(s.connection);
        return transfer.Run(c);
    }
};

} // namespace

TEST_F(TransferTest, ReadAllStoresEveryValueAndLevel)
{
    const auto expected = FillDevice(s.device, s.doc);
    ASSERT_EQ(Run(DocumentCommand::ReadAll), ProgramCodeTransfer::Outcome::Completed);

    int levelCommands = 0;
    for (const DBParam* p = s.doc.Sections().Chain(); p; p = p->next) {
        EXPECT_TRUE(p->programmed) << p->def->name;
        EXPECT_EQ(FormatValue(*p, s.doc.Image()), expected.at(p)) << p->def->name;
        EXPECT_EQ(s.doc.GetSecurityLevel(*p), LevelFor(*p)) << p->def->name;
        if (p->def->HasSecurityLevel() && p->instance <= 1)
            ++levelCommands;
    }
    // One "PV" per program code (after the contact), "XV" only in instances 0 and 1.
    EXPECT_EQ(s.device.Sent("PV").size(), 1u + 275u);
    EXPECT_EQ(int(s.device.Sent("XV").size()), levelCommands);
    EXPECT_TRUE(s.device.Sent("XV 03").empty());
    EXPECT_TRUE(s.device.Sent("XV 04").empty());
    EXPECT_FALSE(s.device.Sent("XV 02").empty());

    EXPECT_EQ(ui.progressTitle, QStringLiteral("Reading Corvantix.net Liquid..."));
    EXPECT_EQ(ui.progressTexts[1], QStringLiteral("Reading data to Untitled"));
    EXPECT_EQ(ui.progressUpper, 275);
    EXPECT_EQ(ui.steps, 275);
    EXPECT_TRUE(ui.progressFinished);
    EXPECT_EQ(ui.finishText, QStringLiteral("Transfer Complete!"));
    EXPECT_TRUE(s.doc.modified);
    EXPECT_EQ(viewUpdates, 1);
    EXPECT_TRUE(s.device.Sent("LO").empty());
    EXPECT_EQ(ui.waitCursorDepth, 0);
}

TEST_F(TransferTest, SelectedRanges)
{
    struct Case {
        int section;
        int size;
        const char* firstCommand;
        const char* lastDirectory;
    };
    const Case cases[] = {
        {0, 18, "PV CF", "CF"},   // sections 1 to 4
        {12, -1, "PV SY", "SY"},  // stops before the first recipe program code
        {13, 40, "PV 01", "04"},  // the four recipe instances
        {14, 10, "PV 01", "01"},
        {16, 10, "PV 03", "03"},
        {17, 10, "PV 04", "04"},  // up to the end of the chain
    };
    for (const Case& c : cases) {
        s.device.sent.clear();
        ui.steps = 0;
        s.doc.currentSection = c.section;
        const int size = c.size >= 0 ? c.size : s.doc.Sections().First(c.section)->sectionSize;
        EXPECT_EQ(ProgramCodeTransfer::SelectedRange(s.doc, c.section).size, size) << c.section;
        ASSERT_EQ(Run(DocumentCommand::ReadSelectedFolder), ProgramCodeTransfer::Outcome::Completed) << c.section;
        const auto reads = s.device.Sent("PV");
        ASSERT_EQ(int(reads.size()), 1 + size) << c.section; // the contact, then the range
        EXPECT_TRUE(reads[1].startsWith(c.firstCommand)) << c.section;
        EXPECT_EQ(reads.back().mid(3, 2), QByteArray(c.lastDirectory)) << c.section;
        EXPECT_EQ(ui.progressUpper, size) << c.section;
        EXPECT_EQ(ui.steps, size) << c.section;
        EXPECT_EQ(ui.progressTitle, QStringLiteral("Reading Corvantix.net Liquid ..."));
    }
    EXPECT_EQ(ProgramCodeTransfer::SelectedRange(s.doc, -1).size, 0);
    EXPECT_EQ(ProgramCodeTransfer::SelectedRange(s.doc, -1).first, nullptr);
}

TEST_F(TransferTest, SelectedFolderWithoutASelectionSendsNothing)
{
    s.doc.currentSection = -1;
    EXPECT_EQ(Run(DocumentCommand::ReadSelectedFolder), ProgramCodeTransfer::Outcome::NoSelection);
    EXPECT_EQ(Run(DocumentCommand::DumpSelectedFolder), ProgramCodeTransfer::Outcome::NoSelection);
    EXPECT_TRUE(s.device.sent.empty());
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(ui.progressTexts.empty());
}

TEST_F(TransferTest, RejectedReadStoresAnEmptyValueAndGoesOn)
{
    FillDevice(s.device, s.doc);
    DBParam* p = s.doc.Sections().First(1);
    ASSERT_NE(p, nullptr);
    const QByteArray command = "PV " + Key(*p);
    const QString name = QString::fromLatin1(p->def->name);

    struct Case {
        DocumentCommand command;
        QString message;
    };
    const Case cases[] = {
        {DocumentCommand::ReadAll, QStringLiteral("Unable to read %1 - Program Code Not Used").arg(name)},
        {DocumentCommand::ReadSelectedFolder, QStringLiteral("Unable to read %1").arg(name)},
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        s.device.sent.clear();
        StoreValue(s.doc.Image(), *p, QStringLiteral("1"));
        p->programmed = 0;
        s.doc.currentSection = 1;
        s.device.script[command].push_back(FakeReply::Rejected(14));
        ASSERT_EQ(Run(c.command), ProgramCodeTransfer::Outcome::Completed);
        EXPECT_EQ(ui.MessageTexts(), QStringList{c.message});
        EXPECT_TRUE(p->programmed);
        EXPECT_EQ(FormatValue(*p, s.doc.Image()), EmptyText(*p));
        EXPECT_TRUE(p->next->programmed); // the read went on
    }
}

TEST_F(TransferTest, AbortRetryIgnoreOnAFailedReply)
{
    FillDevice(s.device, s.doc);
    s.doc.currentSection = 1;
    const std::vector<DBParam*> params = s.doc.Sections().SectionParams(1);
    ASSERT_GE(params.size(), 3u);
    DBParam* p = params[1];
    const QByteArray command = "PV " + Key(*p);

    // Retry sends the same command again and does not step the bar.
    s.device.script[command] = {FakeReply::Timeout(), FakeReply::Timeout()};
    ui.answers = {UserInterface::Retry, UserInterface::Retry};
    ASSERT_EQ(Run(DocumentCommand::ReadSelectedFolder), ProgramCodeTransfer::Outcome::Completed);
    const auto reads = s.device.Sent("PV " + Key(*p));
    EXPECT_EQ(reads.size(), 3u);
    EXPECT_EQ(ui.steps, int(params.size()));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Timeout waiting for response"));
    EXPECT_EQ(ui.messages[0].buttons, UserInterface::Buttons::AbortRetryIgnore);
    EXPECT_EQ(FormatValue(*p, s.doc.Image()).toLatin1(), s.device.values[Key(*p)]);

    // Ignore stores an empty value and goes on.
    ui.messages.clear();
    s.device.script[command] = {{CommProtocolError, {}, 0, false}};
    ui.answers = {UserInterface::Ignore};
    ASSERT_EQ(Run(DocumentCommand::ReadSelectedFolder), ProgramCodeTransfer::Outcome::Completed);
    EXPECT_EQ(ui.MessageTexts(), QStringList{QStringLiteral("Protocol error in response")});
    EXPECT_EQ(FormatValue(*p, s.doc.Image()), EmptyText(*p));

    // Abort stops the walk; what was read stays and the document is modified.
    s.doc.Sections().ClearProgrammed();
    s.doc.modified = false;
    ui.progressFinished = false;
    s.device.script[command] = {FakeReply::Timeout()};
    ui.answers = {UserInterface::Abort};
    ASSERT_EQ(Run(DocumentCommand::ReadSelectedFolder), ProgramCodeTransfer::Outcome::Aborted);
    EXPECT_TRUE(params[0]->programmed);
    EXPECT_FALSE(p->programmed);
    EXPECT_FALSE(params[2]->programmed);
    EXPECT_TRUE(s.doc.modified);
    EXPECT_FALSE(ui.progressFinished);
}

TEST_F(TransferTest, SecurityLevelReplies)
{
    FillDevice(s.device, s.doc);
    DBParam* p = FirstWithLevel(s.doc, 1);
    ASSERT_NE(p, nullptr);
    s.doc.currentSection = 1;
    const QByteArray levelCommand = "XV " + Key(*p);

    // A rejected "XV" keeps the level the document had.
    s.doc.SetSecurityLevel(*p, 3);
    s.device.levels[Key(*p)] = 1;
    s.device.script[levelCommand] = {FakeReply::Rejected(6)};
    ASSERT_EQ(Run(DocumentCommand::ReadSelectedFolder), ProgramCodeTransfer::Outcome::Completed);
    EXPECT_EQ(s.doc.GetSecurityLevel(*p), 3);
    EXPECT_TRUE(ui.messages.empty());

    // A level character that is not a level keeps it too.
    s.device.script[levelCommand] = {{CommOk, levelCommand + " 7", 0, false}};
    ASSERT_EQ(Run(DocumentCommand::ReadSelectedFolder), ProgramCodeTransfer::Outcome::Completed);
    EXPECT_EQ(s.doc.GetSecurityLevel(*p), 3);

    // A time-out asks; Retry starts the program code again with "PV".
    s.device.sent.clear();
    s.device.script[levelCommand] = {FakeReply::Timeout()};
    ui.answers = {UserInterface::Retry};
    ASSERT_EQ(Run(DocumentCommand::ReadSelectedFolder), ProgramCodeTransfer::Outcome::Completed);
    EXPECT_EQ(ui.MessageTexts(),
              QStringList{QStringLiteral("Error on serial device at port 9: - Timeout waiting for response")});
    EXPECT_EQ(s.doc.GetSecurityLevel(*p), 1);
    EXPECT_EQ(s.device.Sent("PV " + Key(*p)).size(), 2u);

    // Abort stops without the completion step.
    ui.progressFinished = false;
    s.device.script[levelCommand] = {FakeReply::Timeout()};
    ui.answers = {UserInterface::Abort};
    EXPECT_EQ(Run(DocumentCommand::ReadSelectedFolder), ProgramCodeTransfer::Outcome::Aborted);
    EXPECT_FALSE(ui.progressFinished);
}

TEST_F(TransferTest, CancelStopsAfterTheCurrentProgramCode)
{
    FillDevice(s.device, s.doc);
    ui.cancelAfterSteps = 3;
    EXPECT_EQ(Run(DocumentCommand::ReadAll), ProgramCodeTransfer::Outcome::Cancelled);
    EXPECT_EQ(s.device.Sent("PV").size(), 1u + 3u);
    EXPECT_TRUE(s.doc.modified);
    EXPECT_FALSE(ui.progressFinished);
}

TEST_F(TransferTest, SilentDeviceGetsNothingButTheContact)
{
    s.device.answering = false;
    for (DocumentCommand c : {DocumentCommand::ReadAll, DocumentCommand::DumpAll}) {
        s.device.sent.clear();
        ui.messages.clear();
        EXPECT_EQ(Run(c), ProgramCodeTransfer::Outcome::NotResponding);
        EXPECT_EQ(s.device.sent, std::vector<QByteArray>{"PV SY 111"});
        EXPECT_EQ(ui.MessageTexts(), QStringList{QStringLiteral("Corvantix.net Liquid not responding")});
        s.doc.connectionState = CquillTrakDoc::Online; // as the document was before
    }
}

TEST_F(TransferTest, SendFailureStopsTheWalk)
{
    FillDevice(s.device, s.doc);
    s.doc.currentSection = 1;
    const std::vector<DBParam*> params = s.doc.Sections().SectionParams(1);
    s.device.script["PV " + Key(*params[1])] = {FakeReply::SendFailure()};
    EXPECT_EQ(Run(DocumentCommand::ReadSelectedFolder), ProgramCodeTransfer::Outcome::SendFailed);
    EXPECT_TRUE(params[0]->programmed);
    EXPECT_FALSE(params[1]->programmed);
    EXPECT_FALSE(ui.progressFinished);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(s.doc.modified);
}

TEST_F(TransferTest, DumpAllSendsEveryProgrammedValueThenLogsOff)
{
    // Program a few codes: a read-only one, a recipe code of instances 1 and 3 with a level,
    // and a code with level 0.
    DBParam* date = FindParam(s.doc, 5, 101);
    DBParam* recipe2 = FirstWithLevel(s.doc, 15);
    DBParam* recipe4 = FirstWithLevel(s.doc, 17);
    DBParam* plain = FindParam(s.doc, 5, 111);
    ASSERT_TRUE(date && recipe2 && recipe4 && plain);
    StoreValue(s.doc.Image(), *date, QStringLiteral("01/02/03"));
    StoreValue(s.doc.Image(), *recipe2, QStringLiteral("1"));
    StoreValue(s.doc.Image(), *plain, QStringLiteral("1"));
    for (DBParam* p : {date, recipe2, recipe4, plain})
        p->programmed = 1;
    s.doc.SetSecurityLevel(*recipe2, 2); // shared by all recipe instances
    s.doc.SetSecurityLevel(*plain, 0);

    ASSERT_EQ(Run(DocumentCommand::DumpAll), ProgramCodeTransfer::Outcome::Completed);
    const std::vector<QByteArray> expected = {
        "PV SY 111",
        "PC " + Key(*date) + ' ' + FormatValue(*date, s.doc.Image()).toLatin1(),
        "PC " + Key(*plain) + ' ' + FormatValue(*plain, s.doc.Image()).toLatin1(),
        "PC " + Key(*recipe2) + ' ' + FormatValue(*recipe2, s.doc.Image()).toLatin1(),
        "XC " + Key(*recipe2) + " 2",
        "PC " + Key(*recipe4) + ' ' + FormatValue(*recipe4, s.doc.Image()).toLatin1(),
        "PV SY 111",
        "LO",
    };
    EXPECT_EQ(s.device.sent, expected);
    EXPECT_EQ(ui.progressTitle, QStringLiteral("Writing to Corvantix.net Liquid..."));
    EXPECT_EQ(ui.progressTexts[1], QStringLiteral("Writing data from Untitled"));
    EXPECT_EQ(ui.steps, 275);
    EXPECT_EQ(ui.finishText, QStringLiteral("Transfer Complete!"));
    EXPECT_FALSE(s.doc.modified);
    EXPECT_EQ(viewUpdates, 1);
}

TEST_F(TransferTest, DumpSelectedFolderSkipsReadOnlyProgramCodes)
{
    for (DBParam* p : s.doc.Sections().SectionParams(5))
        p->programmed = 1;
    s.doc.currentSection = 5;
    ASSERT_EQ(Run(DocumentCommand::DumpSelectedFolder), ProgramCodeTransfer::Outcome::Completed);
    EXPECT_TRUE(s.device.Sent("PC SY 101").empty());
    EXPECT_TRUE(s.device.Sent("PC SY 102").empty());
    EXPECT_FALSE(s.device.Sent("PC SY 111").empty());
    EXPECT_EQ(s.device.sent.back(), QByteArray("LO"));
    EXPECT_EQ(ui.progressUpper, s.doc.Sections().First(5)->sectionSize);
}

TEST_F(TransferTest, DumpRejectionsAndFailures)
{
    DBParam* p = FirstWithLevel(s.doc, 1);
    ASSERT_NE(p, nullptr);
    p->programmed = 1;
    s.doc.SetSecurityLevel(*p, 2);
    s.doc.currentSection = 1;
    const QString name = QString::fromLatin1(p->def->name);
    const QByteArray write = "PC " + Key(*p) + ' ' + FormatValue(*p, s.doc.Image()).toLatin1();
    const QByteArray level = "XC " + Key(*p) + " 2";

    struct Case {
        const char* name;
        DocumentCommand command;
        FakeReply reply;
        std::deque<int> answers;
        ProgramCodeTransfer::Outcome outcome;
        QStringList messages;
        bool levelSent;
        bool loggedOff;
    };
    const QString timeout = QStringLiteral("Timeout waiting for response");
    const Case cases[] = {
        {"all, rejected", DocumentCommand::DumpAll, FakeReply::Rejected(3), {},
         ProgramCodeTransfer::Outcome::Completed, {QStringLiteral("Unable to write %1").arg(name)}, false, true},
        {"selected, rejected", DocumentCommand::DumpSelectedFolder, FakeReply::Rejected(3), {},
         ProgramCodeTransfer::Outcome::Completed,
         {QStringLiteral("Unable to write %1 - Value out of Range").arg(name)}, true, true},
        {"all, ignored", DocumentCommand::DumpAll, FakeReply::Timeout(), {UserInterface::Ignore},
         ProgramCodeTransfer::Outcome::Completed, {timeout}, false, true},
        {"selected, ignored", DocumentCommand::DumpSelectedFolder, FakeReply::Timeout(), {UserInterface::Ignore},
         ProgramCodeTransfer::Outcome::Completed, {timeout}, true, true},
        {"all, aborted", DocumentCommand::DumpAll, FakeReply::Timeout(), {UserInterface::Abort},
         ProgramCodeTransfer::Outcome::Aborted, {timeout}, false, false},
        {"all, not sent", DocumentCommand::DumpAll, FakeReply::SendFailure(), {},
         ProgramCodeTransfer::Outcome::SendFailed, {QStringLiteral("Error in transmission of %1").arg(name)}, false,
         false},
    };
    for (const Case& c : cases) {
        s.device.sent.clear();
        s.device.script.clear();
        ui.messages.clear();
        s.device.script[write] = {c.reply};
        ui.answers = c.answers;
        EXPECT_EQ(Run(c.command), c.outcome) << c.name;
        EXPECT_EQ(ui.MessageTexts(), c.messages) << c.name;
        EXPECT_EQ(s.device.Sent(level).size(), c.levelSent ? 1u : 0u) << c.name;
        EXPECT_EQ(s.device.Sent("LO").size(), c.loggedOff ? 1u : 0u) << c.name;
    }

    // A refused level is reported and the dump goes on.
    s.device.sent.clear();
    s.device.script.clear();
    ui.messages.clear();
    s.device.script[level] = {FakeReply::Rejected(95)};
    EXPECT_EQ(Run(DocumentCommand::DumpAll), ProgramCodeTransfer::Outcome::Completed);
    EXPECT_EQ(ui.MessageTexts(),
              QStringList{QStringLiteral("Unable to set security level 2 for Pulse Outputs %1\n").arg(name)});
}

TEST_F(TransferTest, RecipeLevelMessageNamesTheFirstRecipe)
{
    DBParam* p = FirstWithLevel(s.doc, 15);
    ASSERT_NE(p, nullptr);
    p->programmed = 1;
    s.doc.SetSecurityLevel(*p, 1);
    s.device.script["XC " + Key(*p) + " 1"] = {FakeReply::Timeout()};
    EXPECT_EQ(Run(DocumentCommand::DumpAll), ProgramCodeTransfer::Outcome::Completed);
    EXPECT_EQ(ui.MessageTexts(), QStringList{QStringLiteral("Unable to set security level 1 for Recipe 1 %1\n")
                                                 .arg(QString::fromLatin1(p->def->name))});
}

TEST_F(TransferTest, DumpCancelledOrRefusedSendsNoLogOff)
{
    for (DBParam* p = s.doc.Sections().Chain(); p; p = p->next)
        p->programmed = 1;
    ui.cancelAfterSteps = 5;
    EXPECT_EQ(Run(DocumentCommand::DumpAll), ProgramCodeTransfer::Outcome::Cancelled);
    EXPECT_TRUE(s.device.Sent("LO").empty());

    // Without program-mode access the dump is not enabled and nothing goes out.
    s.device.sent.clear();
    s.doc.connectionState = CquillTrakDoc::ReadOnly;
    EXPECT_EQ(Run(DocumentCommand::DumpAll), ProgramCodeTransfer::Outcome::NotEnabled);
    EXPECT_EQ(Run(DocumentCommand::DumpSelectedFolder), ProgramCodeTransfer::Outcome::NotEnabled);
    EXPECT_TRUE(s.device.sent.empty());
}
