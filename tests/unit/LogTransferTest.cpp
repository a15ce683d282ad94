// Log retrieval to text files against an in-process device: commands and offsets, CRLF lines
// newest first, the transaction wrap, the "TU" comma part, default file names, the end on a
// rejection, Cancel, failures, and the spreadsheet hand-over's choice.
#include "CommTemporarySettings.h"
#include "ConfigFakeDevice.h"
#include "LogTransfer.h"
#include "ScriptedUserInterface.h"
#include "SpreadsheetHandOver.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

struct LogTest : ::testing::Test {
    ScriptedUserInterface ui;
    FakeSetup s{ui};
    QTemporaryDir dir;
    QString path;
    std::vector<QString> handedOver;

    void SetUp() override
    {
        ASSERT_EQ(s.New(), CquillTrakDoc::Online);
        s.doc.title = QStringLiteral("plant.qcf");
        path = dir.filePath(QStringLiteral("log.txt"));
        ui.fileAnswers = {path};
    }
    LogTransfer::Outcome Run(LogTransfer::Log log)
    {
        LogTransfer transfer(s.connection);
        transfer.SetTransactionHandOver([this](const QString& p) { handedOver.push_back(p); });
        return transfer.Run(log);
    }
};

} // namespace

TEST(LogTransferNames, DefaultFileName)
{
    const std::tuple<const char*, const char*> cases[] = {
        {"plant.qcf", "plant-EventLog.txt"},
        {"a.b.qcf", "a.b-EventLog.txt"},
        {"Untitled", "Untitled-EventLog.txt"},
        {".qcf", ".qcf-EventLog.txt"}, // a leading dot is not an extension
    };
    for (const auto& [title, name] : cases)
        EXPECT_EQ(LogTransfer::DefaultFileName(title, QStringLiteral("-EventLog.txt")), QString::fromLatin1(name));
}

TEST_F(LogTest, EventAndAuditLogsNewestFirst)
{
    struct Case {
        LogTransfer::Log log;
        const char* prefix;
        const char* suggested;
        const char* title;
        const char* firstText;
    };
    const Case cases[] = {
        {LogTransfer::Log::Event, "ER", "plant-EventLog.txt", "Transferring Event Log entries...",
         "Reading event log entry 3"},
        {LogTransfer::Log::Audit, "PR", "plant-AuditLog.txt", "Transferring Audit Log entries...",
         "Reading Audit log entry 3"},
    };
    s.device.events = {"first event", "second event", "third event"};
    s.device.audits = {"first change", "second change", "third change"};
    for (const Case& c : cases) {
        s.device.sent.clear();
        ui.fileAnswers = {path};
        ui.progressTexts.clear();
        ASSERT_EQ(Run(c.log), LogTransfer::Outcome::Completed);
        const bool event = c.log == LogTransfer::Log::Event;
        EXPECT_EQ(ReadAll(path), event ? QByteArray("third event\r\nsecond event\r\nfirst event\r\n")
                                       : QByteArray("third change\r\nsecond change\r\nfirst change\r\n"));
        EXPECT_EQ(ui.lastSuggestedName, QString::fromLatin1(c.suggested));
        EXPECT_EQ(ui.progressTitle, QString::fromLatin1(c.title));
        EXPECT_EQ(ui.progressTexts[1], QString::fromLatin1(c.firstText));
        EXPECT_EQ(ui.progressUpper, 2000);
        const QByteArray p(c.prefix);
        EXPECT_EQ(s.device.sent, (std::vector<QByteArray>{event ? "ES" : "PS", p + " 3", p + " 2", p + " 1"}));
        EXPECT_TRUE(ui.messages.empty());
    }
    EXPECT_TRUE(handedOver.empty());
}

TEST_F(LogTest, EventLogEndsOnRejectionOrFailure)
{
    s.device.events = {"e1", "e2", "e3", "e4"};

    // Entry 2 is not available: the log ends there, without a message.
    s.device.script["ER 2"] = {FakeReply::Rejected(37)};
    ASSERT_EQ(Run(LogTransfer::Log::Event), LogTransfer::Outcome::Completed);
    EXPECT_EQ(ReadAll(path), QByteArray("e4\r\ne3\r\n"));
    EXPECT_TRUE(ui.messages.empty());

    // A time-out stops with the port's message; no line repeats an earlier reply.
    ui.fileAnswers = {path};
    s.device.script["ER 3"] = {FakeReply::Timeout()};
    ASSERT_EQ(Run(LogTransfer::Log::Event), LogTransfer::Outcome::CommError);
    EXPECT_EQ(ReadAll(path), QByteArray("e4\r\n"));
    EXPECT_EQ(ui.messages.size(), 1u);

    // Cancel keeps what was written.
    ui.fileAnswers = {path};
    ui.cancelAfterSteps = ui.steps + 2;
    ASSERT_EQ(Run(LogTransfer::Log::Event), LogTransfer::Outcome::Cancelled);
    EXPECT_EQ(ReadAll(path), QByteArray("e4\r\ne3\r\n"));
}

TEST_F(LogTest, FirstExchangeFailures)
{
    struct Case {
        LogTransfer::Log log;
        const char* command;
        FakeReply reply;
        const char* message;
    };
    const Case cases[] = {
        {LogTransfer::Log::Event, "ES", FakeReply::SendFailure(), "Error in transmission of command - aborting"},
        {LogTransfer::Log::Audit, "PS", FakeReply::Timeout(), "Error in response - aborting"},
        {LogTransfer::Log::Transaction, "TS", FakeReply::SendFailure(), "Error in transmission of command - aborting"},
        {LogTransfer::Log::Transaction, "TS", FakeReply::Rejected(5), "No Data/Error - aborting"},
        {LogTransfer::Log::Transaction, "TS", {CommOk, "TS 0000", 0, false}, "No Data/Error - aborting"},
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        ui.lastSuggestedName.clear();
        s.device.script[c.command] = {c.reply};
        EXPECT_EQ(Run(c.log), LogTransfer::Outcome::Failed) << c.command;
        EXPECT_EQ(ui.MessageTexts(), QStringList{QString::fromLatin1(c.message)}) << c.command;
        EXPECT_TRUE(ui.lastSuggestedName.isEmpty()) << "no file dialog";
        EXPECT_FALSE(QFile::exists(path));
    }
}

TEST_F(LogTest, EmptyLogGivesAnEmptyFileAndNoEntryCommand)
{
    ASSERT_EQ(Run(LogTransfer::Log::Audit), LogTransfer::Outcome::Completed);
    EXPECT_EQ(ReadAll(path), QByteArray());
    EXPECT_EQ(s.device.sent, std::vector<QByteArray>{"PS"});
}

TEST_F(LogTest, CancelledFileDialogWritesNothing)
{
    s.device.events = {"e1"};
    ui.fileAnswers.clear();
    EXPECT_EQ(Run(LogTransfer::Log::Event), LogTransfer::Outcome::NoFile);
    EXPECT_EQ(s.device.sent, std::vector<QByteArray>{"ES"});
}

TEST_F(LogTest, TransactionsWrapAndCarryUserData)
{
    s.device.nextTransaction = 1; // the newest is 9999
    s.device.transactions = {{9999, "9999 newest"}, {9998, "9998 older"}, {9997, "9997 oldest"}};
    s.device.userData = {{9999, "alpha"}, {9998, "beta"}};
    ASSERT_EQ(Run(LogTransfer::Log::Transaction), LogTransfer::Outcome::Completed);
    // 9998's user data comes with it; 9997 has none: written without the comma part, and
    // the repeated "TU" request ends the log after it.
    EXPECT_EQ(ReadAll(path),
              QByteArray("9999 newest,alpha\r\n9998 older,beta\r\n9997 oldest\r\n"));
    const std::vector<QByteArray> expected = {"TS",      "TR 9999", "TU 9999", "TU 9999", "TR 9998", "TU 9998",
                                              "TU 9998", "TR 9997", "TU 9997", "TU 9997"};
    EXPECT_EQ(s.device.sent, expected);
    EXPECT_EQ(ui.lastSuggestedName, QStringLiteral("plant-TransLog.txt"));
    EXPECT_EQ(ui.progressTitle, QStringLiteral("Transferring Transaction Log entries..."));
    EXPECT_TRUE(std::count(ui.progressTexts.begin(), ui.progressTexts.end(),
                           QStringLiteral("Reading transaction log entry 9998")));
    ASSERT_EQ(handedOver.size(), 1u);
    EXPECT_EQ(handedOver[0], QFileInfo(path).absoluteFilePath());
}

TEST_F(LogTest, TransactionsStopAfterEveryNumberOnceAndOnCancel)
{
    // A device that answers every number: the walk ends after 9999 lines, back at the start.
    s.device.nextTransaction = 5;
    for (uint32_t n = 1; n <= 9999; ++n) {
        s.device.transactions[n] = QByteArray::number(n);
        s.device.userData[n] = "u";
    }
    ASSERT_EQ(Run(LogTransfer::Log::Transaction), LogTransfer::Outcome::Completed);
    const QByteArray text = ReadAll(path);
    EXPECT_EQ(text.count("\r\n"), 9999);
    EXPECT_TRUE(text.startsWith("4,u\r\n3,u\r\n2,u\r\n1,u\r\n9999,u\r\n"));
    EXPECT_TRUE(text.endsWith("6,u\r\n5,u\r\n"));

    // Cancel keeps the lines written and skips the hand-over.
    handedOver.clear();
    ui.fileAnswers = {path};
    ui.cancelAfterSteps = ui.steps + 2;
    ASSERT_EQ(Run(LogTransfer::Log::Transaction), LogTransfer::Outcome::Cancelled);
    EXPECT_EQ(ReadAll(path), QByteArray("4,u\r\n3,u\r\n"));
    EXPECT_TRUE(handedOver.empty());
}

TEST_F(LogTest, LogsNeedAnAnsweringDevice)
{
    s.connection.GoOffline();
    EXPECT_EQ(Run(LogTransfer::Log::Event), LogTransfer::Outcome::NotEnabled);
    EXPECT_TRUE(s.device.sent.empty());
}

TEST(SpreadsheetHandOverTest, ChoosesTemplateOrLogFile)
{
    CommTemporarySettings settings;
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("plant-TransLog.txt"));
    const QString xls = dir.filePath(QStringLiteral("QuarrantDataTemplate.xls"));
    const QString xlsm = dir.filePath(QStringLiteral("QuarrantDataTemplate.xlsm"));

    struct Case {
        const char* name;
        bool withXls;
        bool withXlsm;
        const char* program; // what the lookup reports for either template
        QString opened;
        bool stored;
    };
    const Case cases[] = {
        {"no template", false, false, "C:\\Office\\EXCEL.EXE", log, false},
        {"xls with the spreadsheet program", true, true, "C:\\Office\\EXCEL.EXE \"%1\"", xls, true},
        {"xls with another program", true, false, "/usr/bin/localc %U", log, false},
        {"only xlsm", false, true, "wine C:\\\\Office\\\\excel.exe", xlsm, true},
    };
    for (const Case& c : cases) {
        QFile::remove(xls);
        QFile::remove(xlsm);
        for (const auto& [present, file] : {std::pair{c.withXls, xls}, std::pair{c.withXlsm, xlsm}}) {
            if (present) {
                QFile f(file);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            }
        }
        QSettings store(QStringLiteral("VB and VBA Program Settings"), QStringLiteral("QuarrantDataTemplate"));
        store.clear();
        store.sync();

        std::vector<QString> opened;
        SpreadsheetHandOver handOver([&](const QString& f) { opened.push_back(f); return true; },
                                     [&](const QString& f) { return QFile::exists(f) ? QString::fromLatin1(c.program) : QString(); });
        handOver.SetTemplateDirectory(dir.path());
        EXPECT_EQ(handOver.HandOver(log), c.opened) << c.name;
        EXPECT_EQ(opened, std::vector<QString>{c.opened}) << c.name;

        QSettings read(QStringLiteral("VB and VBA Program Settings"), QStringLiteral("QuarrantDataTemplate"));
        EXPECT_EQ(read.value(QStringLiteral("TranslogData/LogFileName")).toString(),
                  c.stored ? QDir::toNativeSeparators(log) : QString())
            << c.name;
    }
}
