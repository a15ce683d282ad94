// The command line's wiring of a terminal session (see CliTerminalWiring.h).
#include "CliTerminalWiring.h"

#include "CliPrompt.h"
#include "CquillTrakDoc.h"
#include "DeviceConnection.h"
#include "TerminalSession.h"

void WireTerminalToCli(TerminalSession& terminal, DeviceConnection& connection, const CquillTrakDoc& doc,
                       CliContext& ctx)
{
    terminal.SetLink(connection.Link());
    terminal.SetUnitAddress(int(doc.deviceAddress & 0xFF));
    terminal.SetPromptHandler([&ctx](const QString& text) { CliPrompt(ctx, text); });
    terminal.SetEchoSink([&ctx](const QString& line) {
        ctx.out << line << "\n";
        ctx.out.flush();
    });
    // The bell only for a person watching: a redirected error stream gets no control characters.
    if (ctx.stderrIsTerminal) {
        terminal.SetBeeper([&ctx] {
            ctx.err << "\a";
            ctx.err.flush();
        });
    }
}
