// quarrant check-updates [--server HOST[:PORT]] [--yes]: Check for Updates against the update
// server (default: setting "Network/UpdateServer" on the FTP port of "Network/FtpPort").
// The revision file is fetched into the current folder. A newer release is reported on
// stdout with its installer's address; with --yes the offer counts as accepted (the address
// is printed for the caller to open; nothing is started from here).
#include "CliHandlers.h"

#include "ConsoleUserInterface.h"
#include "InternetSession.h"
#include "UpdateCheck.h"

int CmdCheckUpdates(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    const QCommandLineOption server(QStringLiteral("server"), QStringLiteral("The update server."),
                                    QStringLiteral("HOST[:PORT]"));
    const QCommandLineOption yes(QStringLiteral("yes"), QStringLiteral("Accept the offer of a newer release."));
    parser.addOptions({server, yes});
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("check-updates"), args, ctx, &exitCode, 0, 0))
        return exitCode;

    ConsoleUserInterface ui;
    ui.SetAssumeYes(parser.isSet(yes));
    ui.SetProgressEnabled(ctx.stderrIsTerminal);
    InternetSession internet;
    UpdateCheck check(ui, &internet);
    if (parser.isSet(server)) {
        QString host = parser.value(server);
        quint16 port = 0;
        const int colon = host.lastIndexOf(QLatin1Char(':'));
        if (colon >= 0) {
            bool ok = false;
            const uint n = host.mid(colon + 1).toUInt(&ok);
            if (!ok || n < 1 || n > 65535) {
                ctx.err << "quarrant check-updates: --server: the port must be 1..65535\n";
                return ExitUsage;
            }
            port = quint16(n);
            host.truncate(colon);
        }
        if (host.isEmpty()) {
            ctx.err << "quarrant check-updates: --server: a host is needed\n";
            return ExitUsage;
        }
        check.SetServer(host, port);
    }
    switch (check.Run()) {
    case UpdateCheck::Outcome::InstallerChosen:
    case UpdateCheck::Outcome::Declined:
        ctx.out << QString::asprintf("Revision %.2f is available: ", double(check.OfferedRevision()))
                << check.InstallerUrl() << "\n";
        break;
    case UpdateCheck::Outcome::Latest:
        ctx.out << "Revision 0.10 is the latest.\n";
        break;
    case UpdateCheck::Outcome::NoInformation:
    case UpdateCheck::Outcome::NoSession:
        break;
    }
    return ExitOk;
}
