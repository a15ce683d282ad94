// A 1 MB image moved through the transfer threads (512-byte blocks as the device editors use,
// and larger blocks for comparison) against the same file fetched by the curl command-line
// tool from the same loopback pyftpdlib server, all in active mode. Wall-clock times.
#include "../tests/support/FtpServerFixture.h"

#include "CDownloadThread.h"
#include "CUploadThread.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kImageSize = 1 << 20;

struct BenchServer {
    FtpServerFixture server{QStringLiteral("4711")};
    QTemporaryDir local;
    QString error;
    bool up = false;

    BenchServer()
    {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "quarrant_bench";
            static char* argv[] = {name, nullptr};
            new QCoreApplication(argc, argv);
        }
        QByteArray image(kImageSize, Qt::Uninitialized);
        for (int i = 0; i < kImageSize; ++i)
            image[i] = char((i * 31) ^ (i >> 9));
        up = server.Start(&error) && server.PutFile(QStringLiteral("CONFIG/IMAGE.BIN"), image);
        QFile file(local.filePath(QStringLiteral("IMAGE.BIN")));
        up = up && file.open(QIODevice::WriteOnly) && file.write(image) == image.size();
    }
};

BenchServer& Server()
{
    static BenchServer server;
    return server;
}

template <class Thread>
bool RunThread(Thread* thread)
{
    thread->start();
    thread->WaitTransferFinished();
    const bool ok = thread->ErrorFlag() == 0;
    thread->FinishTransfer();
    return ok;
}

void BM_DownloadThread(benchmark::State& state)
{
    BenchServer& s = Server();
    if (!s.up) {
        state.SkipWithError(s.error.toStdString().c_str());
        return;
    }
    for (auto _ : state) {
        auto* thread = new CDownloadThread;
        thread->SetDeviceDefaults(QStringLiteral("127.0.0.1"), s.server.AccessCode());
        thread->SetPort(s.server.Port());
        thread->SetBlockSize(int(state.range(0)));
        thread->SetExpectedSize(kImageSize);
        thread->SetRemotePath(QStringLiteral("CONFIG/IMAGE.BIN"));
        thread->SetLocalPath(s.local.filePath(QStringLiteral("DOWN.BIN")));
        if (!RunThread(thread)) {
            state.SkipWithError("download failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * kImageSize);
}
BENCHMARK(BM_DownloadThread)->Arg(512)->Arg(65536)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_UploadThread(benchmark::State& state)
{
    BenchServer& s = Server();
    if (!s.up) {
        state.SkipWithError(s.error.toStdString().c_str());
        return;
    }
    for (auto _ : state) {
        auto* thread = new CUploadThread;
        thread->SetDeviceDefaults(QStringLiteral("127.0.0.1"), s.server.AccessCode());
        thread->SetPort(s.server.Port());
        thread->SetBlockSize(int(state.range(0)));
        thread->SetRemotePath(QStringLiteral("CONFIG/UP.BIN"));
        thread->SetLocalPath(s.local.filePath(QStringLiteral("IMAGE.BIN")));
        if (!RunThread(thread)) {
            state.SkipWithError("upload failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * kImageSize);
}
BENCHMARK(BM_UploadThread)->Arg(512)->Arg(65536)->Unit(benchmark::kMillisecond)->UseRealTime();

// The curl tool, one process per fetch, as a user would run it.
void BM_CurlToolDownload(benchmark::State& state)
{
    BenchServer& s = Server();
    const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
    if (!s.up || curl.isEmpty()) {
        state.SkipWithError(curl.isEmpty() ? "curl tool not installed" : s.error.toStdString().c_str());
        return;
    }
    const QString url = QStringLiteral("ftp://127.0.0.1:%1/CONFIG/IMAGE.BIN").arg(s.server.Port());
    const QStringList args = {QStringLiteral("-sS"), QStringLiteral("-P"), QStringLiteral("-"),
                              QStringLiteral("-u"), QStringLiteral("Quarrant:") + s.server.AccessCode(),
                              QStringLiteral("-o"), s.local.filePath(QStringLiteral("CURL.BIN")), url};
    for (auto _ : state) {
        QProcess process;
        process.start(curl, args);
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            state.SkipWithError("curl failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * kImageSize);
}
BENCHMARK(BM_CurlToolDownload)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
