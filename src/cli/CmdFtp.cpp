// quarrant ftp get|put --device tcp:A.B.C.D [--ftp-port N] --access-code CODE REMOTE LOCAL:
// copies one file from or to a device's FTP server as user "Quarrant", with the transfer
// threads the definition editors use (3 connection attempts 3 seconds apart, 3000 ms
// time-outs). Progress goes to stderr, the result text to stdout.
#include "CliHandlers.h"

#include "CDownloadThread.h"
#include "CUploadThread.h"
#include "DeviceAddress.h"

#include <QElapsedTimer>
#include <QMutex>
#include <cstdio>
#include <memory>

namespace {

// Status lines of the transfer, written from its worker thread. The per-block lines come
// often; at most a few a second are written, and the last one always is.
class ProgressPrinter {
public:
    void Status(const QString& text)
    {
        QMutexLocker lock(&m_mutex);
        const bool blockLine = text.endsWith(QLatin1String("bytes transferred)"));
        if (blockLine && m_clock.isValid() && m_clock.elapsed() < 250) {
            m_pending = text;
            return;
        }
        FlushLocked();
        Print(text);
        if (blockLine)
            m_clock.start();
    }
    void Flush()
    {
        QMutexLocker lock(&m_mutex);
        FlushLocked();
    }

private:
    void FlushLocked()
    {
        if (!m_pending.isEmpty())
            Print(m_pending);
        m_pending.clear();
    }
    static void Print(const QString& text)
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        std::fflush(stderr);
    }

    QMutex m_mutex;
    QElapsedTimer m_clock;
    QString m_pending;
};

} // namespace

int CmdFtp(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    const QCommandLineOption device(QStringLiteral("device"), QStringLiteral("The device: tcp:A.B.C.D."), QStringLiteral("DEV"));
    const QCommandLineOption ftpPort(QStringLiteral("ftp-port"),
                                     QStringLiteral("The device's FTP port (default: setting Network/FtpPort, else 21)."),
                                     QStringLiteral("N"));
    const QCommandLineOption accessCode(QStringLiteral("access-code"), QStringLiteral("The device's access code."),
                                        QStringLiteral("CODE"));
    parser.addOptions({device, ftpPort, accessCode});
    parser.addPositionalArgument(QStringLiteral("get|put"), QStringLiteral("Copy from (get) or to (put) the device."));
    parser.addPositionalArgument(QStringLiteral("REMOTE"), QStringLiteral("The file on the device, e.g. CONFIG/TRANSRPT.CFG."));
    parser.addPositionalArgument(QStringLiteral("LOCAL"), QStringLiteral("The file on this computer."));
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("ftp"), args, ctx, &exitCode, 3, 3))
        return exitCode;
    auto usage = [&ctx](const QString& text) {
        ctx.err << "quarrant ftp: " << text << "\n";
        return int(ExitUsage);
    };
    const QStringList positional = parser.positionalArguments();
    const QString direction = positional[0];
    if (direction != QLatin1String("get") && direction != QLatin1String("put"))
        return usage(QStringLiteral("the first argument must be get or put"));
    if (!parser.isSet(device))
        return usage(QStringLiteral("--device is required"));
    if (!parser.isSet(accessCode))
        return usage(QStringLiteral("--access-code is required"));
    QString error;
    const std::optional<DeviceAddress> address = DeviceAddress::Parse(parser.value(device), &error);
    if (!address)
        return usage(error);
    if (address->AddressKind() != DeviceAddress::Kind::Tcp)
        return usage(QStringLiteral("FTP needs a TCP/IP device (tcp:A.B.C.D)"));
    quint16 port = 0;
    if (parser.isSet(ftpPort)) {
        bool ok = false;
        const uint n = parser.value(ftpPort).toUInt(&ok);
        if (!ok || n < 1 || n > 65535)
            return usage(QStringLiteral("--ftp-port must be a port number 1..65535"));
        port = quint16(n);
    }

    CTransferThread* thread = nullptr;
    if (direction == QLatin1String("get"))
        thread = new CDownloadThread;
    else
        thread = new CUploadThread;
    thread->SetDeviceDefaults(address->Host(), parser.value(accessCode));
    thread->SetPort(port);
    thread->SetRemotePath(positional[1]);
    thread->SetLocalPath(positional[2]);

    ProgressPrinter printer;
    QObject::connect(thread, &CTransferThread::ProgressStatus, thread,
                     [&printer](const QString& text) { printer.Status(text); }, Qt::DirectConnection);
    QObject::connect(thread, &CTransferThread::ProgressDetail, thread,
                     [&printer](const QString& text) {
                         if (!text.isEmpty())
                             printer.Status(text);
                     },
                     Qt::DirectConnection);
    thread->start();
    thread->wait();
    printer.Flush();
    const QString message = thread->TransferMessage();
    const int failed = thread->ErrorFlag();
    thread->FinishTransfer(); // deletes the thread object
    if (failed)
        return Fail(ctx, message);
    ctx.out << message << "\n";
    return ExitOk;
}
