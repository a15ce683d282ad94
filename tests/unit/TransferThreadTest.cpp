// Transfer thread paths that end without any FTP traffic: a download that only creates a local
// folder, and a transfer cancelled before it started. Both point at a closed port with long
// pauses between attempts, so a stray connection attempt would fail the test's texts.
#include "CDownloadThread.h"
#include "CUploadThread.h"

#include <QDir>
#include <QFileInfo>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

quint16 ClosedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

struct Seen {
    QStringList words;
    int finishes = 0;
    int uploaded = -1;
};

// Runs the thread to its end; the signals are taken directly on the worker and read after it
// has ended.
Seen RunToEnd(CTransferThread* thread)
{
    Seen seen;
    QObject::connect(thread, &CTransferThread::StatusWord, thread,
                     [&seen](CTransferThread*, const QString& word) { seen.words << word; }, Qt::DirectConnection);
    if (auto* down = qobject_cast<CDownloadThread*>(thread))
        QObject::connect(down, &CDownloadThread::DownloadFinished, down,
                         [&seen](CDownloadThread*) { ++seen.finishes; }, Qt::DirectConnection);
    if (auto* up = qobject_cast<CUploadThread*>(thread))
        QObject::connect(up, &CUploadThread::UploadFinished, up, [&seen](CUploadThread*, int uploaded) {
            ++seen.finishes;
            seen.uploaded = uploaded;
        }, Qt::DirectConnection);
    thread->start();
    EXPECT_TRUE(thread->WaitTransferFinished(60000));
    thread->wait();
    return seen;
}

template <class Thread>
Thread* Unreachable(const QString& remote, const QString& local)
{
    auto* thread = new Thread;
    thread->SetDeviceDefaults(QStringLiteral("127.0.0.1"), QStringLiteral("1234"));
    thread->SetPort(ClosedPort());
    thread->SetRetryDelay(60);
    thread->SetRemotePath(remote);
    thread->SetLocalPath(local);
    return thread;
}

TEST(TransferThreadTest, DownloadToFolderPathOnlyCreatesTheFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        QString local;
        QString created;
    } cases[] = {
        {dir.path() + QStringLiteral("/a/b/"), dir.path() + QStringLiteral("/a/b")},
        {dir.path() + QStringLiteral("\\c\\d\\"), dir.path() + QStringLiteral("/c/d")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.local.toStdString());
        auto* thread = Unreachable<CDownloadThread>(QStringLiteral("CONFIG/X.CFG"), c.local);
        const Seen seen = RunToEnd(thread);
        EXPECT_EQ(thread->TransferMessage(), QLatin1Char('"') + c.local + QStringLiteral("\" folder successfully created."));
        EXPECT_EQ(thread->ErrorFlag(), 0);
        EXPECT_EQ(thread->FolderCreated(), 1);
        EXPECT_EQ(seen.words, QStringList({"Initializing"}));
        EXPECT_EQ(seen.finishes, 1);
        EXPECT_TRUE(QFileInfo(c.created).isDir());
        thread->FinishTransfer();
    }
}

TEST(TransferThreadTest, CancelBeforeStartEndsAtOnceAsCancelled)
{
    auto* down = Unreachable<CDownloadThread>(QStringLiteral("CONFIG/LANGUAGE.CFG"), QStringLiteral("unused"));
    down->Cancel();
    const Seen downSeen = RunToEnd(down);
    EXPECT_EQ(down->TransferMessage(), QStringLiteral("\"CONFIG/LANGUAGE.CFG\" download cancelled."));
    EXPECT_EQ(down->ErrorFlag(), 0);
    EXPECT_TRUE(downSeen.words.isEmpty());
    EXPECT_EQ(downSeen.finishes, 1);
    down->FinishTransfer();

    auto* up = Unreachable<CUploadThread>(QStringLiteral("CONFIG/EQUATION.CFG"), QStringLiteral("unused"));
    up->Cancel();
    const Seen upSeen = RunToEnd(up);
    EXPECT_EQ(up->TransferMessage(), QStringLiteral("\"CONFIG/EQUATION.CFG\" upload cancelled."));
    EXPECT_EQ(up->ErrorFlag(), 0);
    EXPECT_TRUE(upSeen.words.isEmpty());
    EXPECT_EQ(upSeen.finishes, 1);
    EXPECT_EQ(upSeen.uploaded, 0);
    up->FinishTransfer();
}

} // namespace
