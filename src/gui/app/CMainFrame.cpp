// The configuration document's frame; see CMainFrame.h.
#include "app/CMainFrame.h"

#include "app/CHelp.h"
#include "app/CUrlOpener.h"
#include "app/CquillTrakApp.h"
#include "dialogs/CCommSetupDialog.h"
#include "dialogs/CParamListingPrinter.h"
#include "dialogs/EditParam.h"
#include "terminal/CEmulatorFrame.h"
#include "transfer/FirmwareCommands.h"
#include "views/CDirectoryTreeView.h"
#include "views/CParamListView.h"

#include "DeviceAddress.h"
#include "DeviceWebPage.h"
#include "LogTransfer.h"
#include "ProgramCodeTransfer.h"
#include "ValueFormat.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

namespace {

const QString kFilter = QStringLiteral("Quarrant Files (*.qcf)");

// The device commands this frame carries out itself; the others stay disabled here.
constexpr DocumentCommand kDeviceCommands[] = {
    DocumentCommand::RetryCommunications, DocumentCommand::GoOffline,  DocumentCommand::ReadSelectedFolder,
    DocumentCommand::ReadAll,             DocumentCommand::DumpSelectedFolder, DocumentCommand::DumpAll,
    DocumentCommand::EventLog,            DocumentCommand::AuditLog,   DocumentCommand::TransactionLog,
    DocumentCommand::UpgradeFirmware,     DocumentCommand::CheckForUpdates,
};

// Commands of the document that need no device exchange: the connection options and the two
// web pages.
constexpr DocumentCommand kLinkCommands[] = {
    DocumentCommand::DeviceOptions, DocumentCommand::BrowseDevice, DocumentCommand::VisitWebSite,
};

} // namespace

CMainFrame::CMainFrame(CquillTrakApp& app) : CDocFrame(app), m_ui(app.MakeUserInterface(*this))
{
    m_connection = std::make_unique<DeviceConnection>(m_doc, *m_ui);

    CreateCommands();
    CreateMenus();
    CreateToolBar();
    ConnectCommands();

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_tree = new CDirectoryTreeView(m_doc, m_splitter);
    m_list = new CParamListView(m_doc, app.Options(), m_splitter);
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(m_list);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({170, 400});
    setCentralWidget(m_splitter);
    resize(760, 480);

    m_tree->SetSectionChangedHandler([this] { m_list->OnUpdate(); });
    m_tree->SetPaneSwitchHandler([this] { NextPane(); });
    m_list->SetPaneSwitchHandler([this] { PreviousPane(); });
    m_list->SetParamEditor([this](DBParam& p) { return EditParam(this, m_doc, p, m_connection->Link(), *m_ui); });
    m_doc.SetUpdateViewsHook([this](CquillTrakDoc&) { UpdateAllViews(); });

    // A freshly loaded frame starts with empty state and port panes.
    SetPaneText(kStatePane, QString());
    SetPaneText(kPortPane, QString());
}

CMainFrame::~CMainFrame()
{
    // The terminal window uses this frame's document and connection: it goes first.
    CEmulatorFrame::CloseFor(*this);
    // The views go first, while the document they show still exists; then the connection,
    // which removes its hooks from the document.
    m_doc.SetUpdateViewsHook(nullptr);
    delete m_splitter;
    m_splitter = nullptr;
    m_tree = nullptr;
    m_list = nullptr;
    m_connection.reset();
}

void CMainFrame::NewDocument(const std::optional<DeviceAddress>& device)
{
    if (device) {
        const DeviceAddress address = *device;
        m_connection->SetLinkFactory([address](const CquillTrakDoc&) {
            QString error;
            return address.MakeProtocol({}, &error);
        });
    }
    if (device && device->AddressKind() == DeviceAddress::Kind::Tcp) {
        // The link settings as the document keeps them, so Save stores this device.
        m_doc.OnNewDocument();
        m_doc.port = 0;
        m_doc.deviceAddress = ParseDottedIp(device->Host()).value_or(0);
    } else if (device && device->AddressKind() == DeviceAddress::Kind::ComPort) {
        m_doc.OnNewDocument();
        m_doc.port = device->PortNumber();
        m_doc.deviceAddress = uint32_t(device->UnitAddress());
    } else {
        m_doc.OnNewDocument();
    }
    m_doc.title = QStringLiteral("Untitled");
    m_doc.SetModifiedFlag(false);
    m_path.clear();
    InitialUpdate();
}

bool CMainFrame::OpenDocument(const QString& path, QString* error)
{
    if (!m_doc.OpenFile(path, *m_ui, error))
        return false;
    m_path = QFileInfo(path).absoluteFilePath();
    m_doc.title = QFileInfo(path).fileName();
    m_doc.SetModifiedFlag(false);
    InitialUpdate();
    return true;
}

void CMainFrame::InitialUpdate()
{
    m_doc.currentSection = -1;
    m_tree->OnInitialUpdate();
    m_list->OnInitialUpdate();
    UpdateTitle();
    UpdateIdle();
}

void CMainFrame::UpdateAllViews()
{
    if (!m_tree)
        return;
    m_tree->OnUpdate();
    m_list->OnUpdate();
    CEmulatorFrame::UpdateFor(*this);
    UpdateTitle();
}

void CMainFrame::UpdateTitle()
{
    setWindowTitle(QStringLiteral("%1[*] - %2").arg(m_doc.title, UserInterface::ApplicationTitle()));
    setWindowModified(m_doc.modified);
}

bool CMainFrame::SaveTo(const QString& path)
{
    QString error;
    if (!m_doc.SaveFile(path, &error)) {
        m_ui->MessageBox(error.isEmpty() ? QStringLiteral("Failed to save document.") : error, QString(),
                         UserInterface::Buttons::Ok, UserInterface::Icon::Error);
        return false;
    }
    m_path = QFileInfo(path).absoluteFilePath();
    m_doc.title = QFileInfo(path).fileName();
    m_doc.SetModifiedFlag(false);
    App().AddToRecentFileList(m_path);
    UpdateTitle();
    return true;
}

bool CMainFrame::Save()
{
    if (m_path.isEmpty())
        return SaveAs();
    return SaveTo(m_path);
}

bool CMainFrame::SaveAs()
{
    QString suggested = m_path.isEmpty() ? m_doc.title : m_path;
    if (m_path.isEmpty() && !suggested.endsWith(QLatin1String(".qcf"), Qt::CaseInsensitive))
        suggested += QStringLiteral(".qcf");
    const std::optional<QString> path = m_ui->ChooseSaveFile(QStringLiteral("Save As"), suggested, kFilter);
    if (!path)
        return false;
    return SaveTo(*path);
}

bool CMainFrame::SaveModified()
{
    if (!m_doc.modified)
        return true;
    const int answer = m_ui->MessageBox(QStringLiteral("Save changes to %1?").arg(m_doc.title), QString(),
                                        UserInterface::Buttons::YesNoCancel, UserInterface::Icon::Warning);
    if (answer == UserInterface::Cancel)
        return false;
    if (answer == UserInterface::Yes)
        return Save();
    return true;
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // Every configuration document has exactly this one frame, so closing the frame closes
    // the document: the save prompt decides. The application ends with its last frame.
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    App().FrameClosing(this);
    event->accept();
}

void CMainFrame::RunCommand(DocumentCommand command)
{
    if (!IsCommandEnabled(m_doc, command, App().UpdateCheckFlag()))
        return;
    switch (command) {
    case DocumentCommand::DeviceOptions:
        OnDeviceOptions();
        break;
    case DocumentCommand::BrowseDevice:
        CUrlOpener::Open(DeviceWebPage(m_doc));
        return;
    case DocumentCommand::VisitWebSite:
        CUrlOpener::Open(MakerWebSite());
        return;
    case DocumentCommand::RetryCommunications:
        m_connection->RetryCommunications();
        break;
    case DocumentCommand::GoOffline:
        m_connection->GoOffline();
        break;
    case DocumentCommand::ReadSelectedFolder:
    case DocumentCommand::ReadAll:
    case DocumentCommand::DumpSelectedFolder:
    case DocumentCommand::DumpAll: {
        ProgramCodeTransfer transfer(*m_connection);
        transfer.Run(command);
        break;
    }
    case DocumentCommand::EventLog:
    case DocumentCommand::AuditLog:
    case DocumentCommand::TransactionLog: {
        LogTransfer logs(*m_connection);
        logs.Run(command == DocumentCommand::EventLog   ? LogTransfer::Log::Event
                 : command == DocumentCommand::AuditLog ? LogTransfer::Log::Audit
                                                        : LogTransfer::Log::Transaction);
        break;
    }
    case DocumentCommand::UpgradeFirmware:
        RunUpgradeFirmware(*this);
        break;
    case DocumentCommand::CheckForUpdates:
        RunCheckForUpdates(*this);
        break;
    default:
        return;
    }
    UpdateAllViews();
    UpdateIdle();
}

void CMainFrame::OnDeviceOptions()
{
    // Confirmed: the document takes the new port and address, drops its link, contacts the
    // device again with the probe and is marked modified. Settings a confirmed "Comm Port
    // Settings..." wrote stay written even when the setup dialog is cancelled.
    CCommSetupDialog dialog(m_doc.port, m_doc.deviceAddress, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_connection->ApplyOptions(dialog.PortIndex(), dialog.Address());
}

QString CMainFrame::PrintName() const
{
    return m_path.isEmpty() ? m_doc.title : m_path;
}

bool CMainFrame::Print()
{
    return CParamListingPrinter::Print(this, App().Printer(), m_doc, PrintName());
}

void CMainFrame::PrintPreview()
{
    CParamListingPrinter::PrintPreview(this, App().Printer(), m_doc, PrintName());
}

bool CMainFrame::PrintDirect(QPrinter& printer)
{
    return CParamListingPrinter::PrintListing(printer, m_doc, PrintName(), false);
}

void CMainFrame::NextPane()
{
    if (focusWidget() == m_tree)
        m_list->setFocus(Qt::TabFocusReason);
    else
        m_tree->setFocus(Qt::TabFocusReason);
}

void CMainFrame::PreviousPane()
{
    // Two panes: the previous one is the other one.
    NextPane();
}

void CMainFrame::UpdateIndicator()
{
    SetPaneText(kStatePane, m_connection->StateText());
    SetPaneText(kPortPane, m_connection->PortStatusText());
}

void CMainFrame::UpdateCommands()
{
    for (DocumentCommand c : kDeviceCommands) {
        if (QAction* a = Command(int(c)))
            a->setEnabled(IsCommandEnabled(m_doc, c, App().UpdateCheckFlag()));
    }
    for (DocumentCommand c : kLinkCommands)
        Command(int(c))->setEnabled(IsCommandEnabled(m_doc, c, App().UpdateCheckFlag()));
    if (m_toolBar)
        Command(59392)->setChecked(m_toolBar->isVisible());
    Command(59393)->setChecked(statusBar()->isVisible());
    setWindowModified(m_doc.modified);
}

void CMainFrame::CreateCommands()
{
    using K = QKeySequence;
    AddCommand(57600, QStringLiteral("&Pendralux.net Data File \tCtrl+N"), {K(Qt::CTRL | Qt::Key_N)});
    AddCommand(11846, QStringLiteral("&Report Configuration"));
    AddCommand(11847, QStringLiteral("&Translation "));
    AddCommand(11844, QStringLiteral("&Equation Set"));
    AddCommand(11866, QStringLiteral("&Driver Database"));
    AddCommand(155, QStringLiteral("Display &Configuration"));
    AddCommand(57601, QStringLiteral("&Open...\tCtrl+O"), {K(Qt::CTRL | Qt::Key_O)});
    AddCommand(57603, QStringLiteral("&Save\tCtrl+S"), {K(Qt::CTRL | Qt::Key_S)});
    AddCommand(57604, QStringLiteral("Save &As..."));
    AddCommand(57607, QStringLiteral("&Print...\tCtrl+P"), {K(Qt::CTRL | Qt::Key_P)});
    AddCommand(57609, QStringLiteral("Print Pre&view"));
    AddCommand(57606, QStringLiteral("P&rint Setup..."));
    AddCommand(57608, QStringLiteral("Print Direct"));
    AddCommand(57665, QStringLiteral("E&xit"));

    AddCommand(57643, QStringLiteral("&Undo\tCtrl+Z"), {K(Qt::CTRL | Qt::Key_Z), K(Qt::ALT | Qt::Key_Backspace)});
    AddCommand(57635, QStringLiteral("Cu&t\tCtrl+X"), {K(Qt::CTRL | Qt::Key_X), K(Qt::SHIFT | Qt::Key_Delete)});
    AddCommand(57634, QStringLiteral("&Copy\tCtrl+C"), {K(Qt::CTRL | Qt::Key_C), K(Qt::CTRL | Qt::Key_Insert)});
    AddCommand(57637, QStringLiteral("&Paste\tCtrl+V"), {K(Qt::CTRL | Qt::Key_V), K(Qt::SHIFT | Qt::Key_Insert)});
    AddCommand(150, QStringLiteral("&Read Selected Folder"));
    AddCommand(151, QStringLiteral("Read &All"));
    AddCommand(152, QStringLiteral("&Dump Selected Folder"));
    AddCommand(153, QStringLiteral("D&ump All"));

    AddCommand(32771, QStringLiteral("&Terminal Emulator\tAlt-F10"), {K(Qt::ALT | Qt::Key_F10)});
    AddCommand(144, QStringLiteral("&Retry Communications"));
    AddCommand(145, QStringLiteral("Go &Offline"));
    AddCommand(162, QStringLiteral("&Event Log to File..."));
    AddCommand(163, QStringLiteral("&Audit Log to File..."));
    AddCommand(164, QStringLiteral("&Transaction Log to File..."));
    AddCommand(169, QStringLiteral("&Check for Updates..."));
    AddCommand(148, QStringLiteral("&Upgrade Firmware..."));
    AddCommand(167, QStringLiteral("&Browse Corvantix.net Liquid..."));

    AddCommand(59392, QStringLiteral("&Toolbar"))->setCheckable(true);
    AddCommand(59393, QStringLiteral("&Status Bar"))->setCheckable(true);
    AddCommand(57653, QStringLiteral("S&plit"));

    AddCommand(143, QStringLiteral("Options for this Corvantix.net Liquid..."));
    AddCommand(11842, QStringLiteral("General Options..."));

    AddCommand(57667, QStringLiteral("&Help Topics"));
    AddCommand(57664, QStringLiteral("&About Quarrant for Corvantix.net Liquid..."));
    AddCommand(168, QStringLiteral("Corvantix.net on the &Web"));

    AddCommand(57670, QStringLiteral("Help"), {K(Qt::Key_F1)});
    AddCommand(57669, QStringLiteral("Context Help"), {K(Qt::SHIFT | Qt::Key_F1)});
    AddCommand(57680, QStringLiteral("Next Pane"), {K(Qt::Key_F6)});
    AddCommand(57681, QStringLiteral("Previous Pane"), {K(Qt::SHIFT | Qt::Key_F6)});
}

void CMainFrame::CreateMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    QMenu* fileNew = file->addMenu(QStringLiteral("&New"));
    for (int id : {57600, 11846, 11847, 11844, 11866, 155})
        fileNew->addAction(Command(id));
    for (int id : {57601, 57603, 57604})
        file->addAction(Command(id));
    file->addSeparator();
    for (int id : {57607, 57609, 57606})
        file->addAction(Command(id));
    QAction* recentSeparator = file->addSeparator();
    QAction* exitSeparator = file->addSeparator();
    file->addAction(Command(57665));
    // The recent files (57616 onward) sit between the two separators, rebuilt on each opening.
    connect(file, &QMenu::aboutToShow, this, [this, file, recentSeparator, exitSeparator] {
        for (QAction* a : file->actions()) {
            if (a->property("recentFile").isValid())
                delete a;
        }
        const QStringList recent = App().RecentFiles();
        for (int i = 0; i < recent.size(); ++i) {
            auto* a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(recent[i]).fileName()), file);
            a->setProperty("recentFile", recent[i]);
            a->setStatusTip(recent[i]);
            const QString path = recent[i];
            connect(a, &QAction::triggered, this, [this, path] { App().OpenDocumentFile(path); });
            file->insertAction(exitSeparator, a);
        }
        exitSeparator->setVisible(!recent.isEmpty());
        Q_UNUSED(recentSeparator);
    });

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->addAction(Command(57643));
    edit->addSeparator();
    for (int id : {57635, 57634, 57637})
        edit->addAction(Command(id));
    edit->addSeparator();
    for (int id : {150, 151, 152, 153})
        edit->addAction(Command(id));

    QMenu* tools = bar->addMenu(QStringLiteral("Tools"));
    tools->addAction(Command(32771));
    tools->addSeparator();
    tools->addAction(Command(144));
    tools->addAction(Command(145));
    tools->addSeparator();
    for (int id : {162, 163, 164})
        tools->addAction(Command(id));
    tools->addSeparator();
    tools->addAction(Command(169));
    tools->addAction(Command(148));
    tools->addSeparator();
    tools->addAction(Command(167));

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    for (int id : {59392, 59393, 57653})
        view->addAction(Command(id));

    QMenu* options = bar->addMenu(QStringLiteral("Options"));
    options->addAction(Command(143));
    options->addSeparator();
    options->addAction(Command(11842));

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(Command(57667));
    help->addSeparator();
    help->addAction(Command(57664));
    help->addAction(Command(168));

    // Menus refresh their entries' states when they open, not only on the idle timer.
    for (QMenu* m : {file, edit, tools, view, options, help})
        connect(m, &QMenu::aboutToShow, this, &CDocFrame::UpdateIdle);
}

void CMainFrame::ConnectCommands()
{
    auto on = [this](int id, auto handler) {
        QAction* a = Command(id);
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, handler);
    };
    on(57600, [this] { App().NewConfiguration(); });
    on(57601, [this] { App().OnFileOpen(*m_ui); });
    on(57603, [this] { Save(); });
    on(57604, [this] { SaveAs(); });
    on(57665, [this] { App().CloseAllFrames(); });
    on(57664, [this] { App().About(this); });
    on(11842, [this] { App().OnGeneralOptions(this); });
    on(32771, [this] { CEmulatorFrame::OpenFor(*this); });
    on(57607, [this] { Print(); });
    on(57609, [this] { PrintPreview(); });
    on(57606, [this] { App().OnPrintSetup(this); });
    on(57608, [this] {
        if (!PrintDirect(App().Printer()))
            m_ui->MessageBox(QStringLiteral("The parameter listing could not be printed."), QString(),
                             UserInterface::Buttons::Ok, UserInterface::Icon::Error);
    });
    on(57667, [] { CHelp::ShowContents(); });
    on(57670, [] { CHelp::ShowContextHelp(); });
    on(57669, [this] { App().Help().EnterHelpMode(); });
    for (DocumentCommand c : kLinkCommands)
        connect(Command(int(c)), &QAction::triggered, this, [this, c] { RunCommand(c); });
    on(57680, [this] { NextPane(); });
    on(57681, [this] { PreviousPane(); });
    on(59392, [this](bool checked) {
        if (m_toolBar)
            m_toolBar->setVisible(checked);
    });
    on(59393, [this](bool checked) { statusBar()->setVisible(checked); });
    for (DocumentCommand c : kDeviceCommands)
        connect(Command(int(c)), &QAction::triggered, this, [this, c] { RunCommand(c); });
}
