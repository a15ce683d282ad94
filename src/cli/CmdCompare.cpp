// quarrant compare FILE.qcf --device DEV [--section S] [--read-only] [--json]: reads the
// device (Read All, or the section) into a scratch document and lists the program codes whose
// value text or security level differ from the file's ("a" the file, "b" the device). Exit 0
// when equal, 1 when different, 2 when the file cannot be read, the device cannot be read
// completely, or on usage errors. The file is not changed; the device is logged off again
// when the contact granted program-mode access.
#include "CliHandlers.h"

#include "CliDeviceSession.h"
#include "CliDifferenceReport.h"
#include "CquillTrakDoc.h"
#include "ProgramCodeTransfer.h"
#include "Section.h"

#include <QFileInfo>

int CmdCompare(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    CliDeviceSession session(ctx);
    session.AddOptions(parser);
    parser.addPositionalArgument(QStringLiteral("FILE.qcf"), QStringLiteral("The document to compare with the device."));
    const QCommandLineOption section(QStringLiteral("section"),
                                     QStringLiteral("Compare only section S: a number 0-17 or its title."),
                                     QStringLiteral("S"));
    const QCommandLineOption readOnly(QStringLiteral("read-only"), QStringLiteral("Include read-only program codes."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Write the differences as JSON."));
    parser.addOptions({section, readOnly, json});
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("compare"), args, ctx, &exitCode, 1, 1))
        return exitCode;
    if (!session.ReadOptions(parser, QStringLiteral("compare"), &exitCode))
        return exitCode;
    int selected = -1;
    if (parser.isSet(section)) {
        selected = ParseSection(parser.value(section));
        if (selected < 0) {
            ctx.err << "quarrant compare: no section '" << parser.value(section) << "' (0-17 or a title)\n";
            return ExitUsage;
        }
    }

    const QString path = parser.positionalArguments().front();
    CquillTrakDoc file;
    QString error;
    if (!file.OpenFile(path, session.Ui(), &error)) {
        Fail(ctx, QStringLiteral("%1: %2").arg(path, error));
        return ExitUsage;
    }

    CquillTrakDoc device;
    const std::unique_ptr<DeviceConnection> connection = session.Attach(device);
    device.OnNewDocument();
    device.title = session.Address().Text();
    if (device.connectionState < CquillTrakDoc::ReadOnly) {
        Fail(ctx, session.NotAnsweringText(*connection));
        return ExitUsage;
    }
    device.currentSection = selected;
    ProgramCodeTransfer transfer(*connection);
    const ProgramCodeTransfer::Outcome outcome = selected >= 0 ? transfer.ReadSelectedFolder() : transfer.ReadAll();
    if (device.connectionState == CquillTrakDoc::Online)
        connection->LogOff();
    if (outcome != ProgramCodeTransfer::Outcome::Completed) {
        Fail(ctx, QStringLiteral("the device could not be read completely"));
        return ExitUsage;
    }
    return PrintDifferenceReport(ConfigComparison::Compare(file, device, selected, parser.isSet(readOnly)), ctx,
                                 parser.isSet(json));
}
