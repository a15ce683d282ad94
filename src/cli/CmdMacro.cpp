// quarrant macro FILE.MAC --device DEV [--log FILE]: runs a macro file to its end with the
// terminal's semantics, printing every echo line. With --log the terminal's log is open from
// the macro's first line on. PROMPT prints its text (stderr) and continues, after Enter when
// stdin is a terminal. Exit 1 when the macro could not be loaded or was aborted (Ctrl+C);
// device failures inside the macro show as replies and do not stop it.
#include "CliHandlers.h"

#include "CliDeviceSession.h"
#include "CliMacroAbort.h"
#include "CliTerminalWiring.h"
#include "CquillTrakDoc.h"
#include "TerminalSession.h"

int CmdMacro(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    CliDeviceSession session(ctx);
    session.AddOptions(parser);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The macro file (FILE or FILE.MAC)."));
    const QCommandLineOption log(QStringLiteral("log"), QStringLiteral("Log the session to FILE."), QStringLiteral("FILE"));
    parser.addOption(log);
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("macro"), args, ctx, &exitCode, 1, 1))
        return exitCode;
    if (!session.ReadOptions(parser, QStringLiteral("macro"), &exitCode))
        return exitCode;

    CquillTrakDoc doc;
    session.StoreAddressIn(doc);
    const std::unique_ptr<DeviceConnection> connection = session.Attach(doc);
    connection->Connect(false);

    TerminalSession terminal(session.Ui());
    WireTerminalToCli(terminal, *connection, doc, ctx);

    terminal.SubmitTypedLine(QStringLiteral("PLAY ") + parser.positionalArguments().front());
    if (!terminal.MacroRunning())
        return ExitFailure; // the console already showed "Error executing ..."
    if (parser.isSet(log) && !terminal.Log().Open(parser.value(log)))
        return Fail(ctx, QStringLiteral("cannot create the log file %1").arg(parser.value(log)));

    CliMacroAbort abort(terminal);
    abort.RunMacros();
    if (terminal.LastRunAborted())
        return Fail(ctx, QStringLiteral("Macro aborted by user"));
    return ExitOk;
}
