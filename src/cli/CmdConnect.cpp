// quarrant connect --device DEV [--json]: contacts a device the way a new document does (with
// the program-mode probe) and prints the connection state text, the firmware revision and the
// port's status line. Exit 0 when the device answers (ReadOnly or Online), 1 otherwise. When
// the probe granted program-mode access, the device is logged off again.
#include "CliHandlers.h"

#include "CliDeviceSession.h"
#include "CquillTrakDoc.h"

#include <QJsonDocument>
#include <QJsonObject>

int CmdConnect(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    CliDeviceSession session(ctx);
    session.AddOptions(parser);
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Write the result as JSON."));
    parser.addOption(json);
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("connect"), args, ctx, &exitCode, 0, 0))
        return exitCode;
    if (!session.ReadOptions(parser, QStringLiteral("connect"), &exitCode))
        return exitCode;

    CquillTrakDoc doc;
    const std::unique_ptr<DeviceConnection> connection = session.Attach(doc);
    doc.OnNewDocument();
    const int state = doc.connectionState;
    const QString stateText = connection->StateText();
    const QString portText = connection->PortStatusText();
    const QString revision = doc.deviceRevision >= 0 ? QString::asprintf("%.2f", double(doc.deviceRevision))
                                                     : QStringLiteral("unknown");
    if (state == CquillTrakDoc::Online)
        connection->LogOff();

    if (parser.isSet(json)) {
        QJsonObject o;
        o[QStringLiteral("state")] = state;
        o[QStringLiteral("stateText")] = stateText;
        o[QStringLiteral("revision")] = doc.deviceRevision >= 0 ? QJsonValue(revision) : QJsonValue();
        o[QStringLiteral("port")] = portText;
        ctx.out << QJsonDocument(o).toJson(QJsonDocument::Indented);
    } else {
        ctx.out << stateText << "\n"
                << "Firmware revision: " << revision << "\n"
                << portText << "\n";
    }
    return state >= CquillTrakDoc::ReadOnly ? ExitOk : ExitFailure;
}
