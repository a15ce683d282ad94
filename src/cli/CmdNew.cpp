// quarrant new FILE.qcf: a new configuration document (port 1, address 1), saved at once.
#include "CliHandlers.h"

#include "CquillTrakDoc.h"

int CmdNew(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FILE.qcf"), QStringLiteral("The file to create."));
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("new"), args, ctx, &exitCode, 1, 1))
        return exitCode;
    const QString path = parser.positionalArguments().front();
    CquillTrakDoc doc;
    doc.OnNewDocument();
    QString error;
    if (!doc.SaveFile(path, &error))
        return Fail(ctx, error);
    return ExitOk;
}
