// How the command line shows a macro's PROMPT: its text on stderr; when stdin is a terminal
// it then waits for Enter, as the window waits for OK. Piped input is never consumed.
#pragma once

#include "CliCommand.h"

#include <QString>

void CliPrompt(CliContext& ctx, const QString& text);
