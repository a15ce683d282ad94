// quarrant: the command-line tool over the same core as the desktop application.
#include "CliCommand.h"

#include "LiteralTable.h"

#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Vandt Gauge"));
    QCoreApplication::setApplicationName(QStringLiteral("Quarrant Liquid"));
    if (!InitLiteralTable())
        return 1;
    QTextStream out(stdout);
    QTextStream err(stderr);
    CliContext ctx{out, err, isatty(STDIN_FILENO) != 0, isatty(STDERR_FILENO) != 0};
    const int code = RunCli(app.arguments().mid(1), ctx);
    out.flush();
    err.flush();
    return code;
}
