// The command functions of the command-line tool, one per file, listed in
// CliCommandTable.cpp.
#pragma once

#include "CliCommand.h"

int CmdNew(const QStringList& args, CliContext& ctx);
int CmdShow(const QStringList& args, CliContext& ctx);
int CmdSet(const QStringList& args, CliContext& ctx);
int CmdCodes(const QStringList& args, CliContext& ctx);
int CmdRegister(const QStringList& args, CliContext& ctx);
int CmdLiteral(const QStringList& args, CliContext& ctx);
int CmdSend(const QStringList& args, CliContext& ctx);
int CmdRead(const QStringList& args, CliContext& ctx);
int CmdDump(const QStringList& args, CliContext& ctx);
int CmdLogs(const QStringList& args, CliContext& ctx);
int CmdConnect(const QStringList& args, CliContext& ctx);
int CmdDiff(const QStringList& args, CliContext& ctx);
int CmdCompare(const QStringList& args, CliContext& ctx);
int CmdTerminal(const QStringList& args, CliContext& ctx);
int CmdMacro(const QStringList& args, CliContext& ctx);
int CmdFtp(const QStringList& args, CliContext& ctx);
int CmdUpgrade(const QStringList& args, CliContext& ctx);
int CmdCheckUpdates(const QStringList& args, CliContext& ctx);
