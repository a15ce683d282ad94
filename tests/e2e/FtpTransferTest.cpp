// Transfer threads and the FTP session against a real pyftpdlib server on loopback: files
// arrive byte for byte in both directions and both FTP modes, every failure ends in its text
// and error flag, cancels are not failures, and the owner hears of it all through queued
// signals on its own thread.
#include "CDownloadThread.h"
#include "CUploadThread.h"
#include "FtpServerFixture.h"
#include "FtpSession.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kHost = QStringLiteral("127.0.0.1");

void EnsureApplication()
{
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "quarrant_e2e_tests";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv);
    }
}

QByteArray Pattern(int size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        data[i] = char((i * 7 + i / 251) & 0xFF);
    return data;
}

QByteArray ReadLocal(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool WriteLocal(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

// A port on loopback where nothing listens.
quint16 ClosedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

// What the owner saw of one transfer.
struct Outcome {
    bool finished = false;
    QString message;
    int errorFlag = -1;
    int uploaded = -1;
    QString remotePath;
    QString remoteFolder;
    QStringList words;
    QStringList statuses;
    QStringList details;
    QList<int> positions;
};

// Runs a transfer the way an owner window does: the signals arrive queued on this thread, and
// on the finish signal the owner reads the result and ends the thread.
template <class Thread>
Outcome RunAsOwner(Thread* thread)
{
    EnsureApplication();
    Outcome out;
    QEventLoop loop;
    QObject owner;
    QObject::connect(thread, &CTransferThread::StatusWord, &owner,
                     [&](CTransferThread*, const QString& word) { out.words << word; });
    QObject::connect(thread, &CTransferThread::ProgressStatus, &owner, [&](const QString& t) { out.statuses << t; });
    QObject::connect(thread, &CTransferThread::ProgressDetail, &owner, [&](const QString& t) { out.details << t; });
    QObject::connect(thread, &CTransferThread::ProgressPosition, &owner, [&](int p) { out.positions << p; });
    auto finish = [&](CTransferThread* t) {
        EXPECT_NE(QThread::currentThread(), static_cast<QThread*>(t)) << "finish must arrive on the owner's thread";
        out.finished = true;
        out.message = t->TransferMessage();
        out.errorFlag = t->ErrorFlag();
        out.remotePath = t->RemotePath();
        out.remoteFolder = t->RemoteFolder();
        loop.quit();
    };
    if constexpr (std::is_same_v<Thread, CDownloadThread>) {
        QObject::connect(thread, &CDownloadThread::DownloadFinished, &owner, [&](CDownloadThread* t) { finish(t); });
    } else {
        QObject::connect(thread, &CUploadThread::UploadFinished, &owner, [&](CUploadThread* t, int uploaded) {
            out.uploaded = uploaded;
            finish(t);
        });
    }
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->FinishTransfer();
    return out;
}

class FtpTransferTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        EnsureApplication();
        s_server = new FtpServerFixture(QStringLiteral("4711"));
        QString error;
        if (!s_server->Start(&error)) {
            s_startError = error;
            delete s_server;
            s_server = nullptr;
        }
    }
    static void TearDownTestSuite()
    {
        delete s_server;
        s_server = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(s_server, nullptr) << s_startError.toStdString();
        ASSERT_TRUE(m_local.isValid());
    }

    template <class Thread>
    Thread* Make(const QString& remote, const QString& local, const QString& user = QStringLiteral("Quarrant"))
    {
        auto* thread = new Thread;
        thread->SetDeviceDefaults(kHost, s_server->AccessCode());
        thread->SetUser(user);
        thread->SetPort(s_server->Port());
        thread->SetRetryDelayMs(10);
        thread->SetRemotePath(remote);
        thread->SetLocalPath(local);
        return thread;
    }

    QString Local(const QString& name) const { return m_local.filePath(name); }

    static FtpServerFixture* s_server;
    static QString s_startError;
    QTemporaryDir m_local;
};

FtpServerFixture* FtpTransferTest::s_server = nullptr;
QString FtpTransferTest::s_startError;

struct RoundTrip {
    int size;
    bool passive;
};

class FtpRoundTripTest : public FtpTransferTest, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(FtpRoundTripTest, UploadThenDownloadArriveByteForByte)
{
    const RoundTrip c = GetParam();
    const QString name = QStringLiteral("F%1%2.BIN").arg(c.size).arg(c.passive ? "P" : "A");
    const QByteArray data = Pattern(c.size);
    ASSERT_TRUE(WriteLocal(Local(name), data));

    auto* up = Make<CUploadThread>(QStringLiteral("CONFIG/") + name, Local(name));
    up->SetPassive(c.passive);
    const Outcome sent = RunAsOwner(up);
    ASSERT_TRUE(sent.finished);
    EXPECT_EQ(sent.message, QLatin1Char('"') + name + QStringLiteral("\" successfully uploaded."));
    EXPECT_EQ(sent.errorFlag, 0);
    EXPECT_EQ(sent.uploaded, 1);
    EXPECT_EQ(sent.words, QStringList({"Initializing", "Connecting", "Uploading", "Finished"}));
    EXPECT_TRUE(sent.statuses.contains(QStringLiteral("%1 (%2 of %2  bytes transferred)").arg(Local(name)).arg(c.size)));
    EXPECT_EQ(sent.positions.last(), c.size == 0 ? 0 : 100);
    // One report per 512-byte block, the last one short (possibly empty), after the reset to 0.
    EXPECT_EQ(sent.positions.size(), 1 + c.size / 512 + 1);
    EXPECT_EQ(s_server->ReadFile(QStringLiteral("CONFIG/") + name), data);

    const QString back = Local(name + QStringLiteral(".back"));
    auto* down = Make<CDownloadThread>(QStringLiteral("CONFIG/") + name, back);
    down->SetPassive(c.passive);
    down->SetExpectedSize(c.size);
    const Outcome received = RunAsOwner(down);
    ASSERT_TRUE(received.finished);
    EXPECT_EQ(received.message, QLatin1Char('"') + name + QStringLiteral("\" successfully downloaded."));
    EXPECT_EQ(received.errorFlag, 0);
    EXPECT_EQ(received.words, QStringList({"Initializing", "Connecting", "Downloading", "Finished"}));
    EXPECT_EQ(received.statuses.last(), QStringLiteral("Closing connection to 127.0.0.1"));
    EXPECT_EQ(ReadLocal(back), data);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FtpRoundTripTest,
                         ::testing::Values(RoundTrip{0, false}, RoundTrip{1, false}, RoundTrip{512, false},
                                           RoundTrip{513, false}, RoundTrip{100000, false},
                                           RoundTrip{0, true}, RoundTrip{100000, true}));

TEST_F(FtpTransferTest, DeviceUploadReportsTheFileNameAlone)
{
    ASSERT_TRUE(WriteLocal(Local("TRANSRPT.CFG"), "report image"));
    const Outcome out = RunAsOwner(Make<CUploadThread>(QStringLiteral("CONFIG/TRANSRPT.CFG"), Local("TRANSRPT.CFG")));
    EXPECT_EQ(out.message, QStringLiteral("\"TRANSRPT.CFG\" successfully uploaded."));
    EXPECT_EQ(out.remoteFolder, QStringLiteral("CONFIG"));
    EXPECT_TRUE(out.details.contains(QStringLiteral("to: TRANSRPT.CFG")));
}

TEST_F(FtpTransferTest, FirmwareUserWritesIntoItsOwnFolder)
{
    ASSERT_TRUE(WriteLocal(Local("UPIMG.BIN"), Pattern(2000)));
    const Outcome out = RunAsOwner(Make<CUploadThread>(QStringLiteral("UPIMG.BIN"), Local("UPIMG.BIN"), "Corvantix"));
    EXPECT_EQ(out.errorFlag, 0) << out.message.toStdString();
    EXPECT_EQ(s_server->ReadFile(QStringLiteral("firmware/UPIMG.BIN")), Pattern(2000));
}

// The simulator hooks firmware uploads through the launcher's upload command.
TEST_F(FtpTransferTest, UploadCommandHearsOfEveryUploadedFile)
{
    const QString marker = Local("uploads.txt");
    FtpServerFixture server(QStringLiteral("4711"));
    server.SetExtraArguments({QStringLiteral("--on-upload-command"),
                              QStringLiteral("/bin/sh -c 'echo \"$QUARRANT_FTP_USER $1\" >> %1' hook").arg(marker)});
    QString error;
    ASSERT_TRUE(server.Start(&error)) << error.toStdString();

    ASSERT_TRUE(WriteLocal(Local("APPINFO.DAT"), "firmware info"));
    auto* up = Make<CUploadThread>(QStringLiteral("APPINFO.DAT"), Local("APPINFO.DAT"), "Corvantix");
    up->SetPort(server.Port());
    const Outcome out = RunAsOwner(up);
    ASSERT_EQ(out.errorFlag, 0) << out.message.toStdString();

    // The command runs in the background; wait (bounded) for its line.
    QByteArray line;
    for (int i = 0; i < 500 && !line.endsWith('\n'); ++i) {
        QThread::msleep(20);
        line = ReadLocal(marker);
    }
    const QString expected = QStringLiteral("Corvantix ") + server.FirmwareFolder() + QStringLiteral("/APPINFO.DAT\n");
    EXPECT_EQ(QString::fromUtf8(line), expected);
}

TEST_F(FtpTransferTest, PathWithoutFolderKeepsTheLoginFolder)
{
    ASSERT_TRUE(s_server->PutFile(QStringLiteral("ROOTFILE.TXT"), "at the top"));
    const Outcome out = RunAsOwner(Make<CDownloadThread>(QStringLiteral("ROOTFILE.TXT"), Local("ROOTFILE.TXT")));
    EXPECT_EQ(out.message, QStringLiteral("\"ROOTFILE.TXT\" successfully downloaded."));
    EXPECT_EQ(ReadLocal(Local("ROOTFILE.TXT")), QByteArray("at the top"));
}

TEST_F(FtpTransferTest, DownloadLargerThanExpectedCompletesPastHundredPercent)
{
    ASSERT_TRUE(s_server->PutFile(QStringLiteral("CONFIG/LONG.CFG"), Pattern(2000)));
    auto* down = Make<CDownloadThread>(QStringLiteral("CONFIG/LONG.CFG"), Local("LONG.CFG"));
    down->SetExpectedSize(512);
    const Outcome out = RunAsOwner(down);
    EXPECT_EQ(out.errorFlag, 0) << out.message.toStdString();
    EXPECT_EQ(out.positions.last(), 2000 * 100 / 512);
    EXPECT_EQ(out.statuses.at(out.statuses.size() - 2), QStringLiteral("LONG.CFG (2000 of 512  bytes transferred)"));
    EXPECT_EQ(ReadLocal(Local("LONG.CFG")), Pattern(2000));
}

TEST_F(FtpTransferTest, WrongPasswordEndsAfterTheFirstAttempt)
{
    auto* down = Make<CDownloadThread>(QStringLiteral("CONFIG/ANY.CFG"), Local("ANY.CFG"));
    down->SetPassword(QStringLiteral("wrong"));
    const Outcome out = RunAsOwner(down);
    EXPECT_EQ(out.errorFlag, 1);
    EXPECT_TRUE(out.message.startsWith(QStringLiteral("The server refused the user name or password"))) << out.message.toStdString();
    EXPECT_TRUE(out.message.contains(QStringLiteral("530"))) << out.message.toStdString();
    EXPECT_EQ(out.statuses, QStringList({"Connecting to 127.0.0.1 (Attempt 1 of 3)"}));
    EXPECT_FALSE(out.words.contains(QStringLiteral("Retrying")));
}

TEST_F(FtpTransferTest, UnreachableHostMakesThreeAttemptsThenFails)
{
    auto* up = Make<CUploadThread>(QStringLiteral("CONFIG/X.CFG"), Local("X.CFG"));
    up->SetPort(ClosedPort());
    up->SetRetryDelay(1);
    const Outcome out = RunAsOwner(up);
    EXPECT_EQ(out.errorFlag, 1);
    EXPECT_EQ(out.uploaded, 0);
    EXPECT_TRUE(out.message.startsWith(QStringLiteral("A connection with the server could not be established")))
        << out.message.toStdString();
    EXPECT_EQ(out.statuses, QStringList({"Connecting to 127.0.0.1 (Attempt 1 of 3)",
                                         "Failed to connect to 127.0.0.1 (Attempt 1 of 3)",
                                         "Connecting to 127.0.0.1 (Attempt 2 of 3)",
                                         "Failed to connect to 127.0.0.1 (Attempt 2 of 3)",
                                         "Connecting to 127.0.0.1 (Attempt 3 of 3)"}));
    EXPECT_EQ(out.details, QStringList({"", "Retrying after 1 seconds...", "", "Retrying after 1 seconds...", ""}));
    EXPECT_EQ(out.words, QStringList({"Initializing", "Connecting", "Retrying", "Retrying"}));
}

TEST_F(FtpTransferTest, CancelDuringRetryPauseIsReportedAsCancelled)
{
    auto* down = Make<CDownloadThread>(QStringLiteral("CONFIG/X.CFG"), Local("X.CFG"));
    down->SetPort(ClosedPort());
    down->SetRetryDelay(60);
    QObject::connect(down, &CTransferThread::ProgressDetail, down, [down](const QString& text) {
        if (text.startsWith(QStringLiteral("Retrying after")))
            down->Cancel();
    }, Qt::DirectConnection);
    const Outcome out = RunAsOwner(down);
    EXPECT_EQ(out.message, QStringLiteral("\"CONFIG/X.CFG\" download cancelled."));
    EXPECT_EQ(out.errorFlag, 0);
    EXPECT_FALSE(out.statuses.contains(QStringLiteral("Connecting to 127.0.0.1 (Attempt 2 of 3)")));
}

TEST_F(FtpTransferTest, CancelDuringDownloadLeavesPartialFile)
{
    const QByteArray data = Pattern(100000);
    ASSERT_TRUE(s_server->PutFile(QStringLiteral("CONFIG/BIG.BIN"), data));
    auto* down = Make<CDownloadThread>(QStringLiteral("CONFIG/BIG.BIN"), Local("BIG.BIN"));
    // Cancel as soon as the first block has been reported: the loop stops before the next.
    QObject::connect(down, &CTransferThread::ProgressStatus, down, [down](const QString& text) {
        if (text.contains(QStringLiteral("bytes transferred")))
            down->Cancel();
    }, Qt::DirectConnection);
    const Outcome out = RunAsOwner(down);
    EXPECT_EQ(out.message, QStringLiteral("\"BIG.BIN\" download cancelled."));
    EXPECT_EQ(out.errorFlag, 0);
    const QByteArray partial = ReadLocal(Local("BIG.BIN"));
    EXPECT_EQ(partial, data.left(512));
}

TEST_F(FtpTransferTest, CancelDuringUploadIsNotAFailure)
{
    ASSERT_TRUE(WriteLocal(Local("HALF.BIN"), Pattern(100000)));
    auto* up = Make<CUploadThread>(QStringLiteral("CONFIG/HALF.BIN"), Local("HALF.BIN"));
    QObject::connect(up, &CTransferThread::ProgressStatus, up, [up](const QString& text) {
        if (text.contains(QStringLiteral("bytes transferred")))
            up->Cancel();
    }, Qt::DirectConnection);
    const Outcome out = RunAsOwner(up);
    EXPECT_EQ(out.message, QStringLiteral("\"HALF.BIN\" upload cancelled."));
    EXPECT_EQ(out.errorFlag, 0);
    EXPECT_EQ(out.uploaded, 0);
    EXPECT_LT(s_server->ReadFile(QStringLiteral("CONFIG/HALF.BIN")).size(), 100000);
}

TEST_F(FtpTransferTest, FolderOnlyUploadCreatesTheFolder)
{
    const Outcome out = RunAsOwner(Make<CUploadThread>(QStringLiteral("CONFIG/NEWDIR/"), QString()));
    EXPECT_EQ(out.message, QStringLiteral("\"CONFIG/NEWDIR/\" successfully uploaded."));
    EXPECT_EQ(out.errorFlag, 0);
    EXPECT_EQ(out.uploaded, 1);
    EXPECT_EQ(out.remoteFolder, QStringLiteral("/")); // the server's current folder, as it answers PWD
    EXPECT_TRUE(QFileInfo(s_server->ConfigFolder() + QStringLiteral("/NEWDIR")).isDir());

    // The same folder again: the server refuses and its reply is the message.
    const Outcome again = RunAsOwner(Make<CUploadThread>(QStringLiteral("CONFIG/NEWDIR/"), QString()));
    EXPECT_EQ(again.errorFlag, 1);
    EXPECT_TRUE(again.message.startsWith(QStringLiteral("550 "))) << again.message.toStdString();
    EXPECT_EQ(again.uploaded, 0);
}

struct FailureCase {
    const char* label;
    bool upload;
    const char* remote;
    const char* local;   // relative to the test's folder
    const char* message; // %L stands for the local path
};

TEST_F(FtpTransferTest, FailuresEndInTheirTexts)
{
    ASSERT_TRUE(WriteLocal(Local("SRC.CFG"), "x"));
    const FailureCase cases[] = {
        {"remote folder missing", false, "NOPE/X.CFG", "X.CFG", "550 No such file or directory."},
        {"remote file missing", false, "CONFIG/MISSING.CFG", "M.CFG", "Unable to open remote file MISSING.CFG"},
        {"local file not creatable", false, "ROOTFILE.TXT", "no/such/dir/F.CFG", "Unable to create file %L"},
        {"upload folder missing", true, "NOPE/X.CFG", "SRC.CFG", "550 No such file or directory."},
        {"local file missing", true, "CONFIG/X.CFG", "ABSENT.CFG", "Unable to open file %L"},
        {"remote name is a folder", true, "CONFIG", "SRC.CFG", "Unable to open remote file CONFIG"},
    };
    ASSERT_TRUE(s_server->PutFile(QStringLiteral("ROOTFILE.TXT"), "at the top"));
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.label);
        const QString local = Local(QString::fromUtf8(c.local));
        const QString remote = QString::fromUtf8(c.remote);
        const Outcome out = c.upload ? RunAsOwner(Make<CUploadThread>(remote, local)) : RunAsOwner(Make<CDownloadThread>(remote, local));
        ASSERT_TRUE(out.finished);
        EXPECT_EQ(out.errorFlag, 1);
        EXPECT_EQ(out.message, QString::fromUtf8(c.message).replace(QStringLiteral("%L"), local));
    }
}

TEST_F(FtpTransferTest, PortComesFromTheSettingWhenNoneIsGiven)
{
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    QSettings(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid"))
        .setValue(QStringLiteral("Network/FtpPort"), int(s_server->Port()));

    ASSERT_TRUE(s_server->PutFile(QStringLiteral("CONFIG/PORT.CFG"), "p"));
    auto* down = Make<CDownloadThread>(QStringLiteral("CONFIG/PORT.CFG"), Local("PORT.CFG"));
    down->SetPort(0);
    const Outcome out = RunAsOwner(down);
    EXPECT_EQ(out.errorFlag, 0) << out.message.toStdString();
    EXPECT_EQ(ReadLocal(Local("PORT.CFG")), QByteArray("p"));
}

TEST_F(FtpTransferTest, SessionFoldersDeletionAndRefusals)
{
    FtpSession session;
    ASSERT_TRUE(session.Connect(kHost, "Quarrant", s_server->AccessCode(), s_server->Port()).Ok());
    EXPECT_EQ(session.CurrentFolder(), QStringLiteral("/"));

    ASSERT_TRUE(session.SetCurrentFolder(QStringLiteral("CONFIG")).Ok());
    EXPECT_EQ(session.CurrentFolder(), QStringLiteral("/CONFIG"));
    ASSERT_TRUE(session.CreateFolder(QStringLiteral("SUB")).Ok());
    EXPECT_TRUE(QFileInfo(s_server->ConfigFolder() + QStringLiteral("/SUB")).isDir());
    ASSERT_TRUE(session.SetCurrentFolder(QStringLiteral("SUB")).Ok());
    EXPECT_EQ(session.CurrentFolder(), QStringLiteral("/CONFIG/SUB"));
    ASSERT_TRUE(session.SetCurrentFolder(QStringLiteral("/")).Ok());
    EXPECT_EQ(session.CurrentFolder(), QStringLiteral("/"));

    ASSERT_TRUE(s_server->PutFile(QStringLiteral("CONFIG/SUB/GONE.CFG"), "x"));
    ASSERT_TRUE(session.SetCurrentFolder(QStringLiteral("/CONFIG/SUB")).Ok());
    EXPECT_TRUE(session.DeleteFile(QStringLiteral("GONE.CFG")).Ok());
    EXPECT_FALSE(QFileInfo::exists(s_server->ConfigFolder() + QStringLiteral("/SUB/GONE.CFG")));

    // A refused command is 12003 and the server's reply says why.
    const FtpSession::Result refused = session.DeleteFile(QStringLiteral("GONE.CFG"));
    EXPECT_EQ(refused.error, FtpError::Extended);
    EXPECT_TRUE(session.LastResponse().startsWith(QStringLiteral("550 "))) << session.LastResponse().toStdString();
    EXPECT_TRUE(refused.text.endsWith(session.LastResponse()));

    // A refused folder leaves the current folder as it was.
    EXPECT_EQ(session.SetCurrentFolder(QStringLiteral("NOPE")).error, FtpError::Extended);
    EXPECT_EQ(session.CurrentFolder(), QStringLiteral("/CONFIG/SUB"));

    // A line break in a name would smuggle a second command to the server: refused unsent.
    EXPECT_EQ(session.CreateFolder(QStringLiteral("A\r\nMKD INJECTED")).error, FtpError::InvalidUrl);
    EXPECT_EQ(session.SetCurrentFolder(QStringLiteral("/")).error, FtpError::None);
    EXPECT_FALSE(QFileInfo::exists(s_server->Root() + QStringLiteral("/INJECTED")));
    EXPECT_FALSE(QFileInfo::exists(s_server->ConfigFolder() + QStringLiteral("/SUB/INJECTED")));
}

TEST_F(FtpTransferTest, SessionRefusedLoginIs12014)
{
    FtpSession session;
    const FtpSession::Result result = session.Connect(kHost, "Quarrant", "nope", s_server->Port());
    EXPECT_EQ(result.error, FtpError::IncorrectPassword);
    EXPECT_FALSE(session.IsConnected());
    EXPECT_TRUE(session.LastResponse().startsWith(QStringLiteral("530"))) << session.LastResponse().toStdString();
}

} // namespace
