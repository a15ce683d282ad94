// The application object; see CquillTrakApp.h.
#include "app/CquillTrakApp.h"

#include "app/CAboutDlg.h"
#include "app/CAppOptionsDlg.h"
#include "app/CDeviceFont.h"
#include "app/CHelp.h"
#include "app/CMainFrame.h"
#include "app/CPrinterTarget.h"
#include "app/CSingleInstance.h"
#include "dialogs/GuiUserInterface.h"

#include "ConfigurationChoice.h"
#include "DeviceAddress.h"
#include "FtpSession.h"
#include "InternetSession.h"
#include "LiteralTable.h"
#include "UserInterface.h"

#include <QApplication>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QSettings>

namespace {

QSettings AppSettings()
{
    return QSettings(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid"));
}

const QString kRecentGroup = QStringLiteral("Recent File List");

} // namespace

CquillTrakApp::CquillTrakApp(const std::function<bool()>& initialiseNetwork)
{
    QSettings settings(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid"));
    m_options.Load(settings);
    // The device font is installed for this process until exit; the editors' faces find it.
    m_font = std::make_unique<CDeviceFont>();
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) && !m_font->Install())
        qWarning("quarrant-liquid: the bundled device font could not be loaded");
    m_help = std::make_unique<CHelp>();
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(m_help.get());
    // FTP connections give up after 3 s without progress (the upgrade raises it for the
    // device's RAM executive).
    if (initialiseNetwork ? initialiseNetwork() : FtpSession::InitialiseLibrary()) {
        m_internet = std::make_unique<InternetSession>();
        m_internet->SetReceiveTimeout(kFtpTimeoutMs);
    }
}

CquillTrakApp::~CquillTrakApp()
{
    // Frames still open (a test, or an exit without an event loop) go before the options
    // and the rendezvous they use.
    const QList<CMainFrame*> frames = m_frames;
    for (CMainFrame* f : frames)
        delete f;
}

bool CquillTrakApp::InitLiteralTable()
{
    return ::InitLiteralTable();
}

bool CquillTrakApp::HandOverToRunningInstance(const QString& name, const QString& filePath)
{
    const QString path = filePath.isEmpty() ? QString() : QFileInfo(filePath).absoluteFilePath();
    return CSingleInstance::HandOver(name, path);
}

bool CquillTrakApp::BecomeRunningInstance(const QString& name)
{
    m_instance = std::make_unique<CSingleInstance>();
    m_instance->SetPrintHandler([this](const QString& path, const QString& target, QString* error) {
        return PrintDocumentFile(path, target, error);
    });
    connect(m_instance.get(), &CSingleInstance::UpdateCheckRequested, this, [this] { m_updateCheck = true; });
    connect(m_instance.get(), &CSingleInstance::OpenRequested, this, [this](const QString& path) {
        CMainFrame* frame = path.isEmpty() ? NewConfiguration() : OpenDocumentFile(path);
        if (frame) {
            frame->raise();
            frame->activateWindow();
        }
    });
    return m_instance->Listen(name);
}

std::unique_ptr<UserInterface> CquillTrakApp::MakeUserInterface(CDocFrame& frame)
{
    if (m_uiFactory)
        return m_uiFactory(frame);
    auto ui = std::make_unique<GuiUserInterface>(&frame);
    QPointer<CDocFrame> target(&frame);
    ui->SetStatusSink([target](int pane, const QString& text) {
        if (target)
            target->SetPaneText(pane, text);
    });
    return ui;
}

CMainFrame* CquillTrakApp::MakeFrame()
{
    auto* frame = new CMainFrame(*this);
    m_frames.append(frame);
    return frame;
}

void CquillTrakApp::ShowFrame(CMainFrame* frame)
{
    frame->show();
    SetMainFrame(frame);
    // The update check starts disabled when the first window appears; a request that arrives
    // later (a start with --check-updates) keeps it enabled for every window after that.
    if (!m_firstWindowShown) {
        m_firstWindowShown = true;
        m_updateCheck = false;
        // Without an Internet session the FTP features report it when used; the user hears of
        // it once, over the first window.
        if (!m_internet)
            frame->Ui().MessageBox(QStringLiteral("Error initializing network connection"), QString(),
                                   UserInterface::Buttons::Ok, UserInterface::Icon::Warning);
    }
}

CMainFrame* CquillTrakApp::NewConfiguration(const std::optional<DeviceAddress>& device)
{
    CMainFrame* frame = MakeFrame();
    frame->NewDocument(device);
    ShowFrame(frame);
    return frame;
}

CMainFrame* CquillTrakApp::OpenDocumentFile(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    for (CMainFrame* f : std::as_const(m_frames)) {
        if (f->FilePath() == full) {
            f->raise();
            f->activateWindow();
            return f;
        }
    }
    CMainFrame* frame = MakeFrame();
    QString error;
    if (!frame->OpenDocument(full, &error)) {
        frame->Ui().MessageBox(error.isEmpty() ? QStringLiteral("Unexpected file format.") : error, QString(),
                               UserInterface::Buttons::Ok, UserInterface::Icon::Error);
        m_frames.removeAll(frame);
        delete frame;
        RemoveFromRecentFileList(full);
        return nullptr;
    }
    AddToRecentFileList(full);
    ShowFrame(frame);
    return frame;
}

void CquillTrakApp::OnFileOpen(UserInterface& ui)
{
    const std::optional<QString> path = ui.ChooseOpenFile(QStringLiteral("Open"), QStringLiteral("Quarrant Files (*.qcf)"));
    if (path)
        OpenDocumentFile(*path);
}

bool CquillTrakApp::CloseAllFrames()
{
    const QList<CMainFrame*> frames = m_frames;
    for (CMainFrame* f : frames) {
        if (m_frames.contains(f) && !f->close())
            return false;
    }
    return true;
}

void CquillTrakApp::About(QWidget* parent)
{
    CAboutDlg dlg(parent);
    dlg.exec();
}

void CquillTrakApp::OnGeneralOptions(QWidget* parent)
{
    CAppOptionsDlg dlg(m_options, parent);
    if (dlg.exec() == QDialog::Accepted)
        ApplyOptions(dlg.Options());
}

void CquillTrakApp::ApplyOptions(const GeneralOptions& options)
{
    m_options = options;
    QSettings settings = AppSettings();
    m_options.Save(settings);
    for (CMainFrame* f : std::as_const(m_frames))
        f->UpdateAllViews();
}

QPrinter& CquillTrakApp::Printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void CquillTrakApp::OnPrintSetup(QWidget* parent)
{
    QPageSetupDialog dialog(&Printer(), parent);
    dialog.exec();
}

bool CquillTrakApp::PrintDocumentFile(const QString& path, const QString& target, QString* error)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(Printer().pageLayout());
    if (!CPrinterTarget::Configure(printer, target, error))
        return false;
    const QString full = QFileInfo(path).absoluteFilePath();
    CMainFrame* frame = nullptr;
    for (CMainFrame* f : std::as_const(m_frames)) {
        if (f->FilePath() == full)
            frame = f;
    }
    // A document that is not open yet is opened for the print only: no window, closed after.
    const bool openedHere = frame == nullptr;
    if (openedHere) {
        frame = MakeFrame();
        if (!frame->OpenDocument(full, error)) {
            if (error->isEmpty())
                *error = QStringLiteral("Unexpected file format.");
            delete frame;
            return false;
        }
    }
    const bool printed = frame->PrintDirect(printer);
    if (openedHere)
        delete frame;
    if (!printed) {
        const QString pdf = CPrinterTarget::PdfPath(target);
        *error = pdf.isEmpty() ? QStringLiteral("Printing %1 failed.").arg(full)
                               : QStringLiteral("The PDF file %1 could not be written.").arg(printer.outputFileName());
    }
    return printed;
}

CMainFrame* CquillTrakApp::ChooseConfigurationDocument(UserInterface& ui) const
{
    if (m_frames.size() < 2)
        return m_frames.isEmpty() ? nullptr : m_frames.first();
    QStringList lines;
    for (CMainFrame* frame : m_frames)
        lines << ConfigurationChoiceLine(frame->Document());
    const int chosen = ui.ChooseFromList(QString(), lines);
    return chosen >= 0 && chosen < m_frames.size() ? m_frames.at(chosen) : nullptr;
}

int CquillTrakApp::CountOpenDocuments() const
{
    return int(m_frames.size());
}

QList<CMainFrame*> CquillTrakApp::Frames() const
{
    return m_frames;
}

QStringList CquillTrakApp::RecentFiles() const
{
    QSettings settings = AppSettings();
    QStringList files;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString f = settings.value(QStringLiteral("%1/File%2").arg(kRecentGroup).arg(i)).toString();
        if (!f.isEmpty())
            files << f;
    }
    return files;
}

void CquillTrakApp::WriteRecentFiles(const QStringList& files) const
{
    QSettings settings = AppSettings();
    settings.remove(kRecentGroup);
    for (int i = 0; i < files.size() && i < kRecentFileCount; ++i)
        settings.setValue(QStringLiteral("%1/File%2").arg(kRecentGroup).arg(i + 1), files[i]);
}

void CquillTrakApp::AddToRecentFileList(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList files = RecentFiles();
    files.removeAll(full);
    files.prepend(full);
    WriteRecentFiles(files.mid(0, kRecentFileCount));
}

void CquillTrakApp::RemoveFromRecentFileList(const QString& path)
{
    QStringList files = RecentFiles();
    if (files.removeAll(QFileInfo(path).absoluteFilePath()) > 0)
        WriteRecentFiles(files);
}

void CquillTrakApp::SetMainFrame(CDocFrame* frame)
{
    m_mainFrame = frame;
}

void CquillTrakApp::FrameClosing(CDocFrame* frame)
{
    if (m_mainFrame == frame)
        m_mainFrame = nullptr;
}

void CquillTrakApp::FrameDestroyed(CDocFrame* frame)
{
    m_frames.removeIf([frame](CMainFrame* f) { return static_cast<CDocFrame*>(f) == frame; });
    if (m_mainFrame == frame)
        m_mainFrame = nullptr;
    if (!m_mainFrame && !m_frames.isEmpty())
        m_mainFrame = m_frames.last();
}
