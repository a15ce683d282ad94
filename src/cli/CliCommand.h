// The command-line tool's commands. Each command is one function with its own option
// parser; the table of commands is data in CliCommandTable.cpp. Exit codes: 0 success,
// 1 failure (message on stderr), 2 usage error.
#pragma once

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>
#include <span>

struct CliContext {
    QTextStream& out;
    QTextStream& err;
    bool stdinIsTerminal = false;
    bool stderrIsTerminal = false;
};

enum CliExit { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

using CliHandler = int (*)(const QStringList& args, CliContext& ctx);

struct CliCommand {
    const char* name;
    const char* synopsis; // arguments after the command name
    const char* summary;
    CliHandler run;
};

std::span<const CliCommand> CliCommands();

// Runs the tool with its arguments (without the program name).
int RunCli(const QStringList& args, CliContext& ctx);

// Parses a command's arguments. Handles --help (prints and returns ExitOk through *exitCode)
// and errors (prints and returns ExitUsage). Returns true when the command should go on.
bool ParseCommandLine(QCommandLineParser& parser, const QString& command, const QStringList& args,
                      CliContext& ctx, int* exitCode, int minPositional = 0, int maxPositional = -1);

// Writes "quarrant: <text>" to stderr and returns ExitFailure.
int Fail(CliContext& ctx, const QString& text);
