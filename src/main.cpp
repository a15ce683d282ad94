// quarrant-liquid: the desktop application. Parses the command line, hands a second start over
// to the running instance, and opens the first document: the named file, a new configuration
// pointed at the --device address, or a new configuration on its stored port.
#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <cstdio>
#include <memory>

#include "DeviceAddress.h"
#include "app/CMainFrame.h"
#include "app/CPrintStart.h"
#include "app/CSingleInstance.h"
#include "app/CquillTrakApp.h"
#include "app/StartupProbe.h"

namespace {

// --help needs no display: it is answered before any window system is touched.
bool AsksForHelp(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--help" || a == "-h" || a == "--help-all" || a == "-?")
            return true;
    }
    return false;
}

// A start only for printing needs no screen: without a display it prints offscreen instead of
// failing to open one (an explicit QT_QPA_PLATFORM is kept).
void PrintWithoutDisplay(int argc, char** argv)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--print" || a == "--print-to" || a.startsWith("--print=") || a.startsWith("--print-to="))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
#endif
}

} // namespace

int main(int argc, char** argv)
{
    PrintWithoutDisplay(argc, argv);
    std::unique_ptr<QCoreApplication> helpApp;
    if (AsksForHelp(argc, argv))
        helpApp = std::make_unique<QCoreApplication>(argc, argv);
    else
        helpApp = std::make_unique<QApplication>(argc, argv);
    QCoreApplication& qapp = *helpApp;
    QApplication::setOrganizationName(QStringLiteral("Vandt Gauge"));
    QApplication::setApplicationName(QStringLiteral("Quarrant Liquid"));
    QApplication::setApplicationVersion(QStringLiteral("0.10"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quarrant Liquid: configuration companion for liquid-loading flow controllers."));
    parser.addHelpOption();
    const QCommandLineOption device(QStringLiteral("device"),
                                    QStringLiteral("Open a new configuration connected to the device at ADDRESS "
                                                   "(tcp:A.B.C.D[:PORT], comN[:UNIT] or /PATH[:UNIT])."),
                                    QStringLiteral("ADDRESS"));
    parser.addOption(device);
    const QCommandLineOption print(QStringLiteral("print"),
                                   QStringLiteral("Print the parameter listing of FILE on the default printer and exit "
                                                  "(a running instance prints it; an open document stays open)."),
                                   QStringLiteral("FILE"));
    const QCommandLineOption printTo(QStringLiteral("print-to"),
                                     QStringLiteral("--print-to FILE PRINTER: print FILE's listing on the printer named "
                                                    "PRINTER and exit. A PRINTER of the form pdf:PATH, or one ending in "
                                                    ".pdf, writes a PDF file instead."),
                                     QStringLiteral("FILE"));
    parser.addOption(print);
    parser.addOption(printTo);
    const QCommandLineOption checkUpdates(QStringLiteral("check-updates"),
                                          QStringLiteral("Enable Tools > Check for Updates (in the running instance "
                                                         "when there is one)."));
    parser.addOption(checkUpdates);
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A configuration data file (.qcf) to open."), QStringLiteral("[file]"));
    parser.process(qapp);

    const QStringList files = parser.positionalArguments();
    if (parser.isSet(print) || parser.isSet(printTo)) {
        // Printing only: exactly one print request, nothing else to open.
        const bool to = parser.isSet(printTo);
        if ((parser.isSet(print) && to) || parser.isSet(device) || files.size() != (to ? 1 : 0)) {
            std::fprintf(stderr, "quarrant-liquid: use --print FILE or --print-to FILE PRINTER alone\n");
            return 2;
        }
        CquillTrakApp app;
        return CPrintStart::Run(app, CSingleInstance::DefaultName(), parser.value(to ? printTo : print),
                                to ? files.first() : QString());
    }
    const QString file = files.isEmpty() ? QString() : files.first();

    std::optional<DeviceAddress> address;
    if (parser.isSet(device)) {
        QString error;
        address = DeviceAddress::Parse(parser.value(device), &error);
        if (!address) {
            std::fprintf(stderr, "quarrant-liquid: %s\n", qPrintable(error));
            return 2;
        }
    }

    CquillTrakApp app;
    const QString instanceName = CSingleInstance::DefaultName();
    // A running instance takes the update-check request; a file given with it follows.
    if (parser.isSet(checkUpdates) && !address && CSingleInstance::HandOverUpdateCheck(instanceName) && file.isEmpty())
        return 0;
    // A start that names a device is a session of its own: it is never handed over, since
    // the running instance could not tell which device was meant.
    if (!address && app.HandOverToRunningInstance(instanceName, file))
        return 0;
    if (!CquillTrakApp::InitLiteralTable()) {
        QMessageBox::critical(nullptr, QStringLiteral("Quarrant Liquid"), QStringLiteral("The literal table could not be initialised."));
        return 1;
    }
    if (!app.BecomeRunningInstance(instanceName))
        std::fprintf(stderr, "quarrant-liquid: another instance owns the rendezvous; later starts will not find this one\n");

    CMainFrame* first = nullptr;
    if (address)
        first = app.NewConfiguration(address);
    else if (!file.isEmpty())
        first = app.OpenDocumentFile(file);
    else
        first = app.NewConfiguration();
    if (!first)
        return 1;
    // After the first window, whose showing clears the flag.
    if (parser.isSet(checkUpdates))
        app.SetUpdateCheckFlag(true);
    StartupProbe::InstallIfRequested(first); // QUARRANT_STARTUP_PROBE=1: time to the first window
    return QApplication::exec();
}
