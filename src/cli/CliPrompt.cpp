// A macro's PROMPT on the console (see CliPrompt.h).
#include "CliPrompt.h"

#include <cstdio>

void CliPrompt(CliContext& ctx, const QString& text)
{
    ctx.err << text << "\n";
    if (!ctx.stdinIsTerminal) {
        ctx.err.flush();
        return;
    }
    ctx.err << "Press Enter to continue...";
    ctx.err.flush();
    int c = 0;
    while ((c = std::getchar()) != EOF && c != '\n') {
    }
}
