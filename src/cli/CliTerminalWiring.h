// Connects a terminal session to the command line: the device link of a connected document,
// its unit address, PROMPT on the console and every echo line printed on stdout as the
// terminal window would show it. Shared by 'quarrant terminal' and 'quarrant macro'.
#pragma once

#include "CliCommand.h"

class CquillTrakDoc;
class DeviceConnection;
class TerminalSession;

void WireTerminalToCli(TerminalSession& terminal, DeviceConnection& connection, const CquillTrakDoc& doc,
                       CliContext& ctx);
