// quarrant logs event|audit|trans --device DEV -o FILE.txt: copies one of the device's logs
// into a text file, newest entry first, one CRLF-ended line per entry. The command line does
// not start a spreadsheet. When the contact granted program-mode access, the device is logged
// off again at the end, so the tool leaves it as it found it.
#include "CliHandlers.h"

#include "CliDeviceSession.h"
#include "CquillTrakDoc.h"
#include "LogTransfer.h"

int CmdLogs(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    CliDeviceSession session(ctx);
    session.AddOptions(parser);
    parser.addPositionalArgument(QStringLiteral("LOG"), QStringLiteral("event, audit or trans."));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The text file to write (replaced when it exists)."),
                                    QStringLiteral("FILE.txt"));
    parser.addOption(output);
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("logs"), args, ctx, &exitCode, 1, 1))
        return exitCode;
    if (!session.ReadOptions(parser, QStringLiteral("logs"), &exitCode))
        return exitCode;
    const QString which = parser.positionalArguments().front();
    LogTransfer::Log log;
    if (which == QLatin1String("event"))
        log = LogTransfer::Log::Event;
    else if (which == QLatin1String("audit"))
        log = LogTransfer::Log::Audit;
    else if (which == QLatin1String("trans") || which == QLatin1String("transaction"))
        log = LogTransfer::Log::Transaction;
    else {
        ctx.err << "quarrant logs: LOG must be event, audit or trans\n";
        return ExitUsage;
    }
    if (!parser.isSet(output)) {
        ctx.err << "quarrant logs: -o FILE.txt is required\n";
        return ExitUsage;
    }

    CquillTrakDoc doc;
    const std::unique_ptr<DeviceConnection> connection = session.Attach(doc);
    doc.OnNewDocument();
    if (doc.connectionState < CquillTrakDoc::ReadOnly)
        return Fail(ctx, session.NotAnsweringText(*connection));

    LogTransfer transfer(*connection);
    transfer.SetFilePath(parser.value(output));
    const LogTransfer::Outcome outcome = transfer.Run(log);
    if (doc.connectionState == CquillTrakDoc::Online)
        connection->LogOff();
    if (outcome != LogTransfer::Outcome::Completed)
        return Fail(ctx, QStringLiteral("the log was not read completely"));
    ctx.err << transfer.LinesWritten() << " entries written to " << parser.value(output) << "\n";
    return ExitOk;
}
