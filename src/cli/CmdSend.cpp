// quarrant send --device DEV [--framing terminal|mini] [--mode TEXT] [--timeout MS] COMMAND:
// one command exchange with a device. An accepted reply prints its text (exit 0); a rejection
// prints "NO%02.2d - %s" with the device's number and its text (exit 1); a failed exchange
// prints the communication status text on stderr (exit 1). After an accepted command that
// begins with "PT", the report the device sends next is printed too, without carriage
// returns, up to and including its form feed (or until the line falls silent).
#include "CliHandlers.h"

#include "CommStatusText.h"
#include "DeviceAddress.h"
#include "RejectionTexts.h"

namespace {

// A report longer than this is not a report but a line gone wild.
constexpr int kMaxReportBytes = 1 << 20;

// Reads the bytes a device sends after an accepted "PT" command: single bytes until a read
// fails; a form feed ends the report after two more bytes (the line end that follows it).
QByteArray CaptureReport(ComStream& port)
{
    QByteArray report;
    for (int n = 0; n < kMaxReportBytes; ++n) {
        char c = 0;
        if (port.Read(&c, 1, ComStream::kReadCount) <= 0)
            break;
        if (c == '\r')
            continue;
        report.append(c);
        if (c == '\f') {
            char tail[2];
            for (char& t : tail)
                port.Read(&t, 1, ComStream::kReadCount);
            break;
        }
    }
    return report;
}

} // namespace

int CmdSend(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("COMMAND"),
                                 QStringLiteral("The device command, e.g. \"PV SY 111\" (several words are joined by blanks)."));
    const QCommandLineOption device(QStringLiteral("device"),
                                    QStringLiteral("The device: tcp:A.B.C.D[:PORT], comN[:UNIT] or /dev/PATH[:UNIT]."),
                                    QStringLiteral("DEV"));
    const QCommandLineOption framing(QStringLiteral("framing"),
                                     QStringLiteral("Serial framing: terminal or mini (default: the port's setting, "
                                                    "mini for a device path)."),
                                     QStringLiteral("KIND"));
    const QCommandLineOption mode(QStringLiteral("mode"),
                                  QStringLiteral("Serial line settings, e.g. 9600,N,8,1 (default: the port's setting)."),
                                  QStringLiteral("TEXT"));
    const QCommandLineOption timeout(QStringLiteral("timeout"),
                                     QStringLiteral("TCP/IP only: wait at most MS milliseconds for each part of the reply "
                                                    "(default 6000)."),
                                     QStringLiteral("MS"));
    parser.addOptions({device, framing, mode, timeout});
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("send"), args, ctx, &exitCode, 1))
        return exitCode;

    auto usage = [&ctx](const QString& text) {
        ctx.err << "quarrant send: " << text << "\n";
        ctx.err.flush();
        return int(ExitUsage);
    };
    if (!parser.isSet(device))
        return usage(QStringLiteral("--device is required"));
    QString error;
    const std::optional<DeviceAddress> address = DeviceAddress::Parse(parser.value(device), &error);
    if (!address)
        return usage(error);

    DeviceAddress::LinkOptions options;
    if (parser.isSet(framing)) {
        const QString f = parser.value(framing);
        if (f == QLatin1String("terminal"))
            options.framing = ProtocolKind::Terminal;
        else if (f == QLatin1String("mini") || f == QLatin1String("minicomputer"))
            options.framing = ProtocolKind::Minicomputer;
        else
            return usage(QStringLiteral("--framing must be terminal or mini"));
    }
    options.modeText = parser.value(mode);
    if (parser.isSet(timeout)) {
        bool ok = false;
        const int ms = parser.value(timeout).toInt(&ok);
        if (!ok || ms < 1 || ms > 600000)
            return usage(QStringLiteral("--timeout must be a number of milliseconds 1..600000"));
        options.receiveWait = std::chrono::milliseconds(ms);
    }

    const QByteArray command = parser.positionalArguments().join(QLatin1Char(' ')).toLatin1();
    if (command.isEmpty())
        return usage(QStringLiteral("the command is empty"));

    std::unique_ptr<VandtProtocol> protocol = address->MakeProtocol(options, &error);
    if (!protocol)
        return usage(error);

    auto failure = [&]() {
        const int status = protocol->Status();
        const QString detail = protocol->Port().LastErrorText();
        if (CommStatusShown(status) == CommCannotOpen && !detail.isEmpty())
            return Fail(ctx, QStringLiteral("%1 (%2)").arg(CommStatusText(status), detail));
        return Fail(ctx, CommStatusText(status));
    };
    if (!protocol->Send(command))
        return failure();
    QByteArray reply;
    const int rc = protocol->Receive(reply);
    if (rc == CommRejected) {
        ctx.out << FormatRejection(protocol->RejectionNumber()) << "\n";
        return ExitFailure;
    }
    if (rc != CommOk)
        return failure();
    ctx.out << QString::fromLatin1(reply) << "\n";
    if (command.startsWith("PT"))
        ctx.out << QString::fromLatin1(CaptureReport(protocol->Port()));
    return ExitOk;
}
