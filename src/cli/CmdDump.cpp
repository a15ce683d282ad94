// quarrant dump FILE.qcf --device DEV [--section S]: writes a document's programmed program
// codes to a device (Dump All, or Dump Selected Folder for one section). The device must
// grant program-mode access: the same enable rule as the desktop's menu decides. A completed
// dump logs the device off; a dump that stopped does not.
#include "CliHandlers.h"

#include "CliDeviceSession.h"
#include "ConnectionStateText.h"
#include "CquillTrakDoc.h"
#include "DocumentCommand.h"
#include "ProgramCodeTransfer.h"
#include "Section.h"

#include <QFileInfo>

int CmdDump(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    CliDeviceSession session(ctx);
    session.AddOptions(parser);
    parser.addPositionalArgument(QStringLiteral("FILE.qcf"), QStringLiteral("The configuration document to write."));
    const QCommandLineOption section(QStringLiteral("section"),
                                     QStringLiteral("Write only section S: a number 0-17 or its title."), QStringLiteral("S"));
    parser.addOption(section);
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("dump"), args, ctx, &exitCode, 1, 1))
        return exitCode;
    if (!session.ReadOptions(parser, QStringLiteral("dump"), &exitCode))
        return exitCode;
    int selected = -1;
    if (parser.isSet(section)) {
        selected = ParseSection(parser.value(section));
        if (selected < 0) {
            ctx.err << "quarrant dump: no section '" << parser.value(section) << "' (0-17 or a title)\n";
            return ExitUsage;
        }
    }

    const QString path = parser.positionalArguments().front();
    CquillTrakDoc doc;
    const std::unique_ptr<DeviceConnection> connection = session.Attach(doc);
    QString error;
    if (!doc.OpenFile(path, session.Ui(), &error))
        return Fail(ctx, error);
    doc.title = QFileInfo(path).fileName();
    if (doc.connectionState < CquillTrakDoc::ReadOnly)
        return Fail(ctx, session.NotAnsweringText(*connection));

    const DocumentCommand command = selected >= 0 ? DocumentCommand::DumpSelectedFolder : DocumentCommand::DumpAll;
    if (!IsCommandEnabled(doc, command))
        return Fail(ctx, QStringLiteral("the device is %1: it does not grant program-mode access, nothing was written")
                             .arg(ConnectionStateText(doc.connectionState).trimmed()));

    doc.currentSection = selected;
    ProgramCodeTransfer transfer(*connection);
    if (transfer.Run(command) != ProgramCodeTransfer::Outcome::Completed)
        return Fail(ctx, QStringLiteral("the dump did not complete"));
    return ExitOk;
}
