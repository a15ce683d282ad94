// The table of commands and the dispatch of the command line. A command that is not in the
// table is a usage error.
#include "CliCommand.h"

#include "CliHandlers.h"

namespace {

const CliCommand kCommands[] = {
    {"new", "FILE.qcf", "Create a new configuration document (port 1, address 1) and save it.", CmdNew},
    {"show", "FILE.qcf [--section S] [--levels] [--json]", "List the program codes of a document.", CmdShow},
    {"set", "FILE.qcf SECTION CODE VALUE [--level L]", "Edit one program code of a document offline.", CmdSet},
    {"codes", "[--json]", "List the whole program-code table.", CmdCodes},
    {"register", "ID", "Look up a register id.", CmdRegister},
    {"literal", "N", "Print device literal N.", CmdLiteral},
    {"connect", "--device DEV [--json]", "Contact a device: state, firmware revision and port.", CmdConnect},
    {"read", "--device DEV [--section S] (-o FILE.qcf | --into FILE.qcf)", "Read a device's program codes into a document and save it.", CmdRead},
    {"dump", "FILE.qcf --device DEV [--section S]", "Write a document's program codes to a device.", CmdDump},
    {"logs", "event|audit|trans --device DEV -o FILE.txt", "Copy a device log into a text file, newest first.", CmdLogs},
    {"diff", "A.qcf B.qcf [--section S] [--json]", "List the program codes that differ between two documents.", CmdDiff},
    {"compare", "FILE.qcf --device DEV [--section S] [--json]", "List the program codes that differ between a document and a device.", CmdCompare},
    {"ftp", "get|put --device tcp:A.B.C.D [--ftp-port N] --access-code CODE REMOTE LOCAL", "Copy a file from or to a device's FTP server.", CmdFtp},
    {"upgrade", "--device tcp:A.B.C.D --image UPIMG.BIN --access-code CODE [--yes] [--ftp-port N]", "Upgrade a device's firmware.", CmdUpgrade},
    {"check-updates", "[--server HOST[:PORT]] [--yes]", "Ask the update server for a newer release of Quarrant Liquid.", CmdCheckUpdates},
    {"send", "--device DEV [--framing terminal|mini] [--mode TEXT] [--timeout MS] COMMAND", "Send one command to a device and print its reply.", CmdSend},
    {"terminal", "--device DEV", "Type device and terminal commands line by line (the terminal emulator).", CmdTerminal},
    {"macro", "FILE.MAC --device DEV [--log FILE]", "Run a macro file against a device.", CmdMacro},
};

void PrintUsage(QTextStream& s)
{
    s << "Usage: quarrant COMMAND [ARGUMENTS]\n\n"
         "Quarrant Liquid command-line tool, revision 0.10.\n\n"
         "Commands:\n";
    for (const CliCommand& c : kCommands)
        s << "  " << QString::fromLatin1(c.name).leftJustified(10) << c.summary << "\n";
    s << "\nOptions:\n"
         "  -h, --help     Show this help (or a command's help with COMMAND --help).\n"
         "  -v, --version  Show the version.\n"
         "\nExit codes: 0 success, 1 failure, 2 usage error.\n";
}

} // namespace

std::span<const CliCommand> CliCommands()
{
    return kCommands;
}

int RunCli(const QStringList& args, CliContext& ctx)
{
    if (args.isEmpty()) {
        PrintUsage(ctx.err);
        return ExitUsage;
    }
    const QString& first = args.front();
    if (first == QLatin1String("-h") || first == QLatin1String("--help") || first == QLatin1String("help")) {
        PrintUsage(ctx.out);
        return ExitOk;
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        ctx.out << "quarrant 0.10\n";
        return ExitOk;
    }
    for (const CliCommand& c : kCommands) {
        if (first == QLatin1String(c.name))
            return c.run(args.mid(1), ctx);
    }
    ctx.err << "quarrant: unknown command '" << first << "'\n\n";
    PrintUsage(ctx.err);
    return ExitUsage;
}

bool ParseCommandLine(QCommandLineParser& parser, const QString& command, const QStringList& args,
                      CliContext& ctx, int* exitCode, int minPositional, int maxPositional)
{
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    parser.addOption(help);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    QStringList full = args;
    full.prepend(QStringLiteral("quarrant ") + command);
    const bool parsed = parser.parse(full);
    auto helpText = [&]() {
        // Qt's own help starts with a usage line naming argv[0]; replace it with the command's.
        QString options = parser.helpText();
        const int body = options.indexOf(QStringLiteral("\n\n"));
        options = body >= 0 ? options.mid(body + 2) : QString();
        QString text = QStringLiteral("Usage: quarrant ") + command;
        for (const CliCommand& c : kCommands) {
            if (command == QLatin1String(c.name))
                text += QLatin1Char(' ') + QLatin1String(c.synopsis) + QStringLiteral("\n\n")
                    + QLatin1String(c.summary) + QLatin1Char('\n');
        }
        return text + QLatin1Char('\n') + options;
    };
    if (parsed && parser.isSet(help)) {
        ctx.out << helpText();
        *exitCode = ExitOk;
        return false;
    }
    if (!parsed) {
        ctx.err << "quarrant " << command << ": " << parser.errorText() << "\n\n" << helpText();
        *exitCode = ExitUsage;
        return false;
    }
    const int n = static_cast<int>(parser.positionalArguments().size());
    if (n < minPositional || (maxPositional >= 0 && n > maxPositional)) {
        ctx.err << "quarrant " << command << ": wrong number of arguments\n\n" << helpText();
        *exitCode = ExitUsage;
        return false;
    }
    return true;
}

int Fail(CliContext& ctx, const QString& text)
{
    ctx.err << "quarrant: " << text << "\n";
    ctx.err.flush();
    return ExitFailure;
}
