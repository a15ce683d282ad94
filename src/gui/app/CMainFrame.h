// The frame of a configuration document: the document itself, its device connection and its
// user interface, a splitter with the directory tree (left, 170 wide) and the parameter list,
// the configuration menus, and the connection indicator in the status panes.
//
// Invariants: the connection is destroyed before the document (it removes its hooks from it),
// and the views before either. Every device command is enabled by IsCommandEnabled and only
// when this frame can carry it out; the command itself checks the same rule again.
#pragma once

#include "app/CDocFrame.h"

#include "CquillTrakDoc.h"
#include "DeviceAddress.h"
#include "DeviceConnection.h"
#include "DocumentCommand.h"
#include "UserInterface.h"

#include <functional>
#include <memory>
#include <optional>

class CDirectoryTreeView;
class CParamListView;

class QPrinter;
class QSplitter;
struct DBParam;

class CMainFrame : public CDocFrame {
    Q_OBJECT
public:
    // The user interface of the frame's document comes from the application.
    explicit CMainFrame(CquillTrakApp& app);
    ~CMainFrame() override;

    // File New: an empty document that contacts its device (port 1 unless a device address
    // is given, which the document's link then reaches: a TCP/IP address is stored as port 0
    // with the IPv4 address as the device address).
    void NewDocument(const std::optional<DeviceAddress>& device = std::nullopt);
    // Loads a file; on failure returns false with *error, and the frame is not to be shown.
    bool OpenDocument(const QString& path, QString* error);

    // Save and Save As; false when the user cancelled or the file could not be written (the
    // failure was shown).
    bool Save();
    bool SaveAs();

    // The save prompt of the close rule: true when the frame may close.
    bool SaveModified();

    // Runs a device command of the document (the same as its menu entry).
    void RunCommand(DocumentCommand command);

    // The parameter listing: Print (print dialog), Print Preview, and Print Direct on a
    // printer that is already set up (the command line's print requests).
    bool Print();
    void PrintPreview();
    bool PrintDirect(QPrinter& printer);
    // The name the listing's title line shows: the path, or the title while there is none.
    QString PrintName() const;

    CquillTrakDoc& Document() { return m_doc; }
    DeviceConnection& Connection() { return *m_connection; }
    UserInterface& Ui() { return *m_ui; }
    CDirectoryTreeView* TreeView() const { return m_tree; }
    CParamListView* ListView() const { return m_list; }
    QString FilePath() const { return m_path; }

    // F6 and Shift+F6: the focus to the other pane.
    void NextPane();
    void PreviousPane();

    // Refills the views after the document changed (device operations, options).
    void UpdateAllViews();
    void UpdateTitle();

protected:
    void UpdateIndicator() override;
    void UpdateCommands() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateCommands();
    void CreateMenus();
    void ConnectCommands();
    void InitialUpdate();
    bool SaveTo(const QString& path);
    void OnDeviceOptions();

    CquillTrakDoc m_doc;
    std::unique_ptr<UserInterface> m_ui;
    std::unique_ptr<DeviceConnection> m_connection;
    QSplitter* m_splitter = nullptr;
    CDirectoryTreeView* m_tree = nullptr;
    CParamListView* m_list = nullptr;
    QString m_path;
};
