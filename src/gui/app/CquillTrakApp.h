// The application object: owns the General Options, the recent-file list (8 entries), the
// frames of the open documents and the single-instance rendezvous, and answers the
// application commands (New, Open, About, General Options, Exit). Only the configuration
// document type exists; the New entries of the other types stay disabled.
//
// Invariants: every open document has exactly one frame in Frames(); a frame leaves the list
// when it is destroyed. Settings are read from and written to QSettings("Vandt Gauge",
// "Quarrant Liquid").
#pragma once

#include "DeviceAddress.h"
#include "GeneralOptions.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "app/CDocFrame.h"
class CMainFrame;
class CSingleInstance;
class CDeviceFont;
class CHelp;
class QPrinter;

class InternetSession;
class QWidget;
class UserInterface;

class CquillTrakApp : public QObject {
    Q_OBJECT
public:
    static constexpr int kRecentFileCount = 8;
    static constexpr int kFtpTimeoutMs = 3000;

    // Makes the user interface of a new frame; by default the dialogs of the
    // desktop user interface, its status texts in the frame's panes.
    using UiFactory = std::function<std::unique_ptr<UserInterface>(CDocFrame&)>;

    // initialiseNetwork sets up the FTP library; when it fails the application runs without
    // an Internet session and says so when its first window appears.
    explicit CquillTrakApp(const std::function<bool()>& initialiseNetwork = {});
    ~CquillTrakApp() override;

    // The literal table; false when it cannot be initialised (start-up then ends).
    static bool InitLiteralTable();

    // Single instance: hands the file name to a running instance (true: this start is done)
    // or becomes the running instance, which then opens what later starts hand over.
    bool HandOverToRunningInstance(const QString& name, const QString& filePath);
    bool BecomeRunningInstance(const QString& name);

    void SetUiFactory(UiFactory factory) { m_uiFactory = std::move(factory); }
    // The user interface of a new frame: the factory's, else the frame's own dialogs.
    std::unique_ptr<UserInterface> MakeUserInterface(CDocFrame& frame);

    // File New: a new configuration document in its own frame, shown.
    CMainFrame* NewConfiguration(const std::optional<DeviceAddress>& device = std::nullopt);
    // Opens a configuration data file in its own frame (or activates the frame that has it);
    // nullptr when it cannot be loaded (the failure was shown).
    CMainFrame* OpenDocumentFile(const QString& path);
    // File Open: asks for a file through ui, then opens it.
    void OnFileOpen(UserInterface& ui);
    // Exit: closes every frame, each with its save prompt; stops at the first refusal.
    bool CloseAllFrames();

    void About(QWidget* parent);
    void OnGeneralOptions(QWidget* parent);
    // Stores new options, writes all seven keys and refreshes every configuration document.
    void ApplyOptions(const GeneralOptions& options);

    GeneralOptions& Options() { return m_options; }
    bool UpdateCheckFlag() const { return m_updateCheck; }
    // Enables or disables Check for Updates (the flag is cleared when the first frame is shown).
    void SetUpdateCheckFlag(bool on) { m_updateCheck = on; }
    // The one Internet session of every FTP connection, made with the application object;
    // nullptr when the network could not be initialised.
    InternetSession* Internet() const { return m_internet.get(); }

    // The printer of Print, Print Preview and Print Direct, with the page set up by Print Setup.
    QPrinter& Printer();
    void OnPrintSetup(QWidget* parent);
    // Print and print-to requests (--print, --print-to, or handed over by a later start): prints
    // the file's listing on the target (CPrinterTarget); a file that is not open is opened for
    // this without a window and closed again. False with *error when it cannot be printed.
    bool PrintDocumentFile(const QString& path, const QString& target, QString* error);

    // Help (F1, Shift+F1, Help Topics) and the bundled device font, both set up at start-up.
    CHelp& Help() { return *m_help; }
    const CDeviceFont& DeviceFont() const { return *m_font; }

    // The configuration document whose device a definition document is to use: none with no
    // configuration open, the one when only one is, else the one the user picks through ui
    // from a list of all of them in the order they were opened (nullptr when none is picked).
    CMainFrame* ChooseConfigurationDocument(UserInterface& ui) const;

    // The open documents of every type (terminal frames are not documents).
    int CountOpenDocuments() const;
    QList<CMainFrame*> Frames() const;
    CDocFrame* MainFrame() const { return m_mainFrame; }

    QStringList RecentFiles() const;
    void AddToRecentFileList(const QString& path);
    void RemoveFromRecentFileList(const QString& path);

    // Frame bookkeeping.
    void SetMainFrame(CDocFrame* frame);
    void FrameClosing(CDocFrame* frame);
    void FrameDestroyed(CDocFrame* frame);

private:
    CMainFrame* MakeFrame();
    void ShowFrame(CMainFrame* frame);
    void WriteRecentFiles(const QStringList& files) const;

    GeneralOptions m_options;
    bool m_updateCheck = false;
    bool m_firstWindowShown = false;
    QList<CMainFrame*> m_frames;
    QPointer<CDocFrame> m_mainFrame;
    std::unique_ptr<CSingleInstance> m_instance;
    UiFactory m_uiFactory;
    std::unique_ptr<CDeviceFont> m_font;
    std::unique_ptr<CHelp> m_help;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<InternetSession> m_internet;
};
