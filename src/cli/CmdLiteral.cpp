// quarrant literal N: prints one of the device's display texts.
#include "CliHandlers.h"

#include "LiteralTable.h"

int CmdLiteral(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("N"), QStringLiteral("Entry number, 0 to 1581."));
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("literal"), args, ctx, &exitCode, 1, 1))
        return exitCode;
    bool ok = false;
    const int n = parser.positionalArguments().front().toInt(&ok);
    if (!ok || n < 0 || n >= kLiteralCount) {
        ctx.err << "quarrant literal: N must be a number from 0 to " << (kLiteralCount - 1) << "\n";
        return ExitUsage;
    }
    ctx.out << LiteralText(n) << "\n";
    return ExitOk;
}
