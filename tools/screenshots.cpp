// quarrant-screenshots: renders the desktop application's windows to PNG files for review.
// It opens a configuration frame on the given device, reads the device's values, selects a
// section and grabs the frame; then grabs one edit dialog of each kind (general, option list,
// alarm flags, IP address) on a program code of that kind, the General Options dialog, and
// the first page of the parameter listing, printed to PDF and rasterised with pdftoppm.
//
// Settings go to a temporary folder, so the pictures show the defaults and the user's own
// settings are neither read nor written. A modal window that appears unexpectedly (an error
// box) is reported on stderr and closed, and the read's finished progress window is closed,
// so the run never waits for a user.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <memory>

#include "CquillTrakDoc.h"
#include "DeviceAddress.h"
#include "DocumentCommand.h"
#include "ParamEdit.h"
#include "app/CAppOptionsDlg.h"
#include "app/CMainFrame.h"
#include "app/CquillTrakApp.h"
#include "dialogs/CAlarmParamEdit.h"
#include "dialogs/CGenParamEdit.h"
#include "dialogs/CIPParamEdit.h"
#include "dialogs/CListParamEdit.h"
#include "dialogs/CParamListingPrinter.h"
#include "dialogs/CProgressWnd.h"
#include "views/CDirectoryTreeView.h"

namespace {

int g_failures = 0;

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

void Save(QWidget& widget, const QString& path)
{
    widget.show();
    Settle();
    if (widget.grab().save(path)) {
        std::printf("%s\n", qPrintable(path));
    } else {
        std::fprintf(stderr, "quarrant-screenshots: could not write %s\n", qPrintable(path));
        ++g_failures;
    }
}

// The preferred program code if its edit dialog is of the given kind, else the first editable
// one of that kind in chain order.
DBParam* FirstOfKind(CquillTrakDoc& doc, ParamEdit::DialogKind kind, int preferredNumber)
{
    DBParam* first = nullptr;
    for (DBParam* p = doc.Sections().Chain(); p; p = p->next) {
        if (!p->def || p->def->IsReadOnly() || ParamEdit::ChooseDialog(*p->def) != kind)
            continue;
        if (p->number == preferredNumber)
            return p;
        if (!first)
            first = p;
    }
    return first;
}

void SaveDialog(CMainFrame& frame, ParamEdit::DialogKind kind, int preferredNumber, const QString& path)
{
    DBParam* p = FirstOfKind(frame.Document(), kind, preferredNumber);
    if (!p) {
        std::fprintf(stderr, "quarrant-screenshots: no program code for %s\n", qPrintable(path));
        ++g_failures;
        return;
    }
    const ConfigImage& image = frame.Document().Image();
    std::unique_ptr<CGenParamEdit> dialog;
    switch (kind) {
    case ParamEdit::DialogKind::General: dialog = std::make_unique<CGenParamEdit>(*p, image, &frame); break;
    case ParamEdit::DialogKind::List: dialog = std::make_unique<CListParamEdit>(*p, image, &frame); break;
    case ParamEdit::DialogKind::Alarm: dialog = std::make_unique<CAlarmParamEdit>(*p, image, &frame); break;
    case ParamEdit::DialogKind::IPAddress: dialog = std::make_unique<CIPParamEdit>(*p, image, &frame); break;
    }
    Save(*dialog, path);
    dialog->hide();
}

bool SavePrintout(CMainFrame& frame, const QString& outDir)
{
    QTemporaryDir work;
    const QString pdf = work.filePath(QStringLiteral("listing.pdf"));
    if (!CParamListingPrinter::PrintToPdf(frame.Document(), frame.Document().title, pdf)) {
        std::fprintf(stderr, "quarrant-screenshots: printing to PDF failed\n");
        return false;
    }
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) {
        std::fprintf(stderr, "quarrant-screenshots: pdftoppm not found (poppler-utils); the printout is skipped\n");
        return false;
    }
    const QString base = QDir(outDir).filePath(QStringLiteral("printout"));
    QProcess process;
    process.start(pdftoppm, {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"), QStringLiteral("-f"),
                             QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, base});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "quarrant-screenshots: pdftoppm failed: %s\n", process.readAllStandardError().constData());
        return false;
    }
    std::printf("%s.png\n", qPrintable(base));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Vandt Gauge"));
    QApplication::setApplicationName(QStringLiteral("Quarrant Liquid"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Renders the application's windows to PNG files."));
    parser.addHelpOption();
    const QCommandLineOption device(QStringLiteral("device"), QStringLiteral("The device to connect to (tcp:A.B.C.D[:PORT])."),
                                    QStringLiteral("ADDRESS"));
    parser.addOption(device);
    parser.addPositionalArgument(QStringLiteral("outdir"), QStringLiteral("Folder for the PNG files."));
    parser.process(qapp);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    const QString outDir = parser.positionalArguments().first();
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "quarrant-screenshots: cannot create %s\n", qPrintable(outDir));
        return 1;
    }

    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    if (!CquillTrakApp::InitLiteralTable()) {
        std::fprintf(stderr, "quarrant-screenshots: the literal table could not be initialised\n");
        return 1;
    }

    std::optional<DeviceAddress> address;
    if (parser.isSet(device)) {
        QString error;
        address = DeviceAddress::Parse(parser.value(device), &error);
        if (!address) {
            std::fprintf(stderr, "quarrant-screenshots: %s\n", qPrintable(error));
            return 2;
        }
    }

    QTimer watchdog;
    watchdog.setInterval(200);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        // A finished read waits for "&Close" in its progress window.
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<CProgressWnd*>(w);
            if (progress && progress->isVisible() && progress->IsFinished())
                progress->Button()->click();
        }
        if (QWidget* modal = QApplication::activeModalWidget()) {
            std::fprintf(stderr, "quarrant-screenshots: closing an unexpected window \"%s\"\n", qPrintable(modal->windowTitle()));
            ++g_failures;
            modal->close();
        }
    });
    watchdog.start();

    CquillTrakApp app;
    CMainFrame* frame = app.NewConfiguration(address);
    if (!frame)
        return 1;
    frame->resize(900, 560);
    if (frame->Document().connectionState >= CquillTrakDoc::ReadOnly)
        frame->RunCommand(DocumentCommand::ReadAll);
    else
        std::fprintf(stderr, "quarrant-screenshots: no device answers; the values stay empty\n");
    frame->Document().SetModifiedFlag(false);
    frame->TreeView()->setCurrentItem(frame->TreeView()->ItemOfSection(11)); // "Communications"
    frame->UpdateIdle();
    const QDir out(outDir);
    Save(*frame, out.filePath(QStringLiteral("main-window.png")));

    SaveDialog(*frame, ParamEdit::DialogKind::General, 111, out.filePath(QStringLiteral("edit-general.png")));
    SaveDialog(*frame, ParamEdit::DialogKind::List, 701, out.filePath(QStringLiteral("edit-list.png")));
    SaveDialog(*frame, ParamEdit::DialogKind::Alarm, 611, out.filePath(QStringLiteral("edit-alarm.png")));
    SaveDialog(*frame, ParamEdit::DialogKind::IPAddress, 721, out.filePath(QStringLiteral("edit-ip.png")));

    CAppOptionsDlg options(app.Options(), frame);
    Save(options, out.filePath(QStringLiteral("general-options.png")));
    options.hide();

    if (!SavePrintout(*frame, outDir))
        ++g_failures;

    frame->Document().SetModifiedFlag(false);
    app.CloseAllFrames();
    return g_failures == 0 ? 0 : 1;
}
