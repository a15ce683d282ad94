// quarrant read --device DEV [--section S] (-o FILE.qcf | --into FILE.qcf): reads every
// program code (Read All) or one section (Read Selected Folder) from a device into a new
// document or into an existing one, and saves it. A new document takes the device address
// as its link settings. The document is saved only when the read completed, so a failed read
// never replaces a file with half a configuration. Saving while online logs the device off.
#include "CliHandlers.h"

#include "CliDeviceSession.h"
#include "CquillTrakDoc.h"
#include "ProgramCodeTransfer.h"
#include "Section.h"

#include <QFileInfo>

int CmdRead(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    CliDeviceSession session(ctx);
    session.AddOptions(parser);
    const QCommandLineOption section(QStringLiteral("section"),
                                     QStringLiteral("Read only section S: a number 0-17 or its title."), QStringLiteral("S"));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Read into a new document saved as FILE."), QStringLiteral("FILE.qcf"));
    const QCommandLineOption into(QStringLiteral("into"), QStringLiteral("Read into this existing document and save it."),
                                  QStringLiteral("FILE.qcf"));
    parser.addOptions({section, output, into});
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("read"), args, ctx, &exitCode, 0, 0))
        return exitCode;
    if (!session.ReadOptions(parser, QStringLiteral("read"), &exitCode))
        return exitCode;
    if (parser.isSet(output) == parser.isSet(into)) {
        ctx.err << "quarrant read: give either -o FILE.qcf or --into FILE.qcf\n";
        return ExitUsage;
    }
    int selected = -1;
    if (parser.isSet(section)) {
        selected = ParseSection(parser.value(section));
        if (selected < 0) {
            ctx.err << "quarrant read: no section '" << parser.value(section) << "' (0-17 or a title)\n";
            return ExitUsage;
        }
    }

    CquillTrakDoc doc;
    const std::unique_ptr<DeviceConnection> connection = session.Attach(doc);
    const QString path = parser.isSet(output) ? parser.value(output) : parser.value(into);
    if (parser.isSet(output)) {
        doc.OnNewDocument();
        session.StoreAddressIn(doc);
    } else {
        QString error;
        if (!doc.OpenFile(path, session.Ui(), &error))
            return Fail(ctx, error);
    }
    doc.title = QFileInfo(path).fileName();
    if (doc.connectionState < CquillTrakDoc::ReadOnly)
        return Fail(ctx, session.NotAnsweringText(*connection));

    doc.currentSection = selected;
    ProgramCodeTransfer transfer(*connection);
    const ProgramCodeTransfer::Outcome outcome = selected >= 0 ? transfer.ReadSelectedFolder() : transfer.ReadAll();
    if (outcome != ProgramCodeTransfer::Outcome::Completed)
        return Fail(ctx, QStringLiteral("the read did not complete; %1 was not saved").arg(path));

    QString error;
    if (!doc.SaveFile(path, &error))
        return Fail(ctx, error);
    return ExitOk;
}
