// Printing from the command line; see CPrintStart.h.
#include "app/CPrintStart.h"

#include "app/CPrinterTarget.h"
#include "app/CSingleInstance.h"
#include "app/CquillTrakApp.h"

#include "ConsoleUserInterface.h"

#include <QFileInfo>
#include <cstdio>

int CPrintStart::Run(CquillTrakApp& app, const QString& instanceName, const QString& file, const QString& target)
{
    // Paths are resolved here: the running instance has a current folder of its own.
    const QString path = QFileInfo(file).absoluteFilePath();
    const QString where = CPrinterTarget::Absolute(target);
    QString error;
    switch (CSingleInstance::HandOverPrint(instanceName, path, where, &error)) {
    case CSingleInstance::PrintHandOver::Printed:
        return 0;
    case CSingleInstance::PrintHandOver::Failed:
        std::fprintf(stderr, "quarrant-liquid: %s\n", qPrintable(error));
        return 1;
    case CSingleInstance::PrintHandOver::NoInstance:
        break;
    }
    if (!CquillTrakApp::InitLiteralTable()) {
        std::fprintf(stderr, "quarrant-liquid: the literal table could not be initialised\n");
        return 1;
    }
    app.SetUiFactory([](CDocFrame&) { return std::make_unique<ConsoleUserInterface>(); });
    if (!app.PrintDocumentFile(path, where, &error)) {
        std::fprintf(stderr, "quarrant-liquid: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
