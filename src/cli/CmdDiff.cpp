// quarrant diff A.qcf B.qcf [--section S] [--read-only] [--json]: the program codes whose
// value text or security level differ between two documents, per section, both sides on one
// line. Exit 0 when equal, 1 when different, 2 when a file cannot be read or on usage errors
// (so "different" is never confused with trouble). Read-only program codes (the device's
// clock) are left out unless --read-only is given.
#include "CliHandlers.h"

#include "CliDifferenceReport.h"
#include "ConsoleUserInterface.h"
#include "CquillTrakDoc.h"
#include "Section.h"

int CmdDiff(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("A.qcf"), QStringLiteral("The first document."));
    parser.addPositionalArgument(QStringLiteral("B.qcf"), QStringLiteral("The second document."));
    const QCommandLineOption section(QStringLiteral("section"),
                                     QStringLiteral("Compare only section S: a number 0-17 or its title."),
                                     QStringLiteral("S"));
    const QCommandLineOption readOnly(QStringLiteral("read-only"), QStringLiteral("Include read-only program codes."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Write the differences as JSON."));
    parser.addOptions({section, readOnly, json});
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("diff"), args, ctx, &exitCode, 2, 2))
        return exitCode;
    int selected = -1;
    if (parser.isSet(section)) {
        selected = ParseSection(parser.value(section));
        if (selected < 0) {
            ctx.err << "quarrant diff: no section '" << parser.value(section) << "' (0-17 or a title)\n";
            return ExitUsage;
        }
    }

    ConsoleUserInterface ui;
    CquillTrakDoc a;
    CquillTrakDoc b;
    QString error;
    for (auto [doc, path] : {std::pair{&a, parser.positionalArguments()[0]}, std::pair{&b, parser.positionalArguments()[1]}}) {
        if (!doc->OpenFile(path, ui, &error)) {
            Fail(ctx, QStringLiteral("%1: %2").arg(path, error));
            return ExitUsage;
        }
    }
    return PrintDifferenceReport(ConfigComparison::Compare(a, b, selected, parser.isSet(readOnly)), ctx,
                                 parser.isSet(json));
}
