// quarrant-devsim: the device simulator. Parses the command line, starts the simulated device
// and its services, and runs until SIGTERM or SIGINT. Exit codes: 0 stopped cleanly, 1 could
// not start (or could not write --state-out), 2 usage error.
#include "LiteralTable.h"
#include "SimOptions.h"
#include "SimServer.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Vandt Gauge"));
    QCoreApplication::setApplicationName(QStringLiteral("Quarrant Liquid Device Simulator"));

    SimOptions options;
    switch (options.Parse(app.arguments().mid(1))) {
    case SimOptions::Outcome::Help:
        std::fputs(qPrintable(options.Message()), stdout);
        return 0;
    case SimOptions::Outcome::Error:
        std::fprintf(stderr, "quarrant-devsim: %s\n(see quarrant-devsim --help)\n", qPrintable(options.Message()));
        return 2;
    case SimOptions::Outcome::Run:
        break;
    }
    if (!InitLiteralTable())
        return 1;

    SimServer server(options);
    QString error;
    if (!server.Start(&error)) {
        std::fprintf(stderr, "quarrant-devsim: %s\n", qPrintable(error));
        return 1;
    }
    return server.Run();
}
