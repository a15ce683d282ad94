// quarrant terminal --device DEV: the terminal emulator as a line mode. Each line read from
// stdin is executed as if typed into the terminal window (lines shorter than two characters
// are ignored, as the window ignores them); the echo lines are printed as the window shows
// them, messages go to stderr. A macro started with PLAY runs to its end before the next line
// is read; Ctrl+C aborts it (and a typed DELAY or WAITFOR). EXIT or the end of input ends the
// session (exit 0).
#include "CliHandlers.h"

#include "CliDeviceSession.h"
#include "CliMacroAbort.h"
#include "CliTerminalWiring.h"
#include "CquillTrakDoc.h"
#include "TerminalCommandTable.h"
#include "TerminalSession.h"

#include <QTextStream>
#include <cstdio>

int CmdTerminal(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    CliDeviceSession session(ctx);
    session.AddOptions(parser);
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("terminal"), args, ctx, &exitCode, 0, 0))
        return exitCode;
    if (!session.ReadOptions(parser, QStringLiteral("terminal"), &exitCode))
        return exitCode;

    CquillTrakDoc doc;
    session.StoreAddressIn(doc);
    const std::unique_ptr<DeviceConnection> connection = session.Attach(doc);
    connection->Connect(false);

    TerminalSession terminal(session.Ui());
    WireTerminalToCli(terminal, *connection, doc, ctx);
    CliMacroAbort abort(terminal);

    QTextStream in(stdin);
    for (;;) {
        if (ctx.stdinIsTerminal) {
            ctx.err << "> ";
            ctx.err.flush();
        }
        QString line;
        if (!in.readLineInto(&line))
            break;
        // Typed by hand, the first seven characters become upper case as they are typed.
        if (ctx.stdinIsTerminal)
            line = TerminalCommandTable::TypedText(line);
        if (!abort.SubmitTypedLine(line))
            continue;
        abort.RunMacros();
        if (terminal.ExitRequested())
            break;
    }
    return ExitOk;
}
