// The terminal emulator window: a second top-level frame on a configuration document, titled
// "Terminal Emulator - " and the document's title, with the terminal's menus (File, Edit with
// the focus-driven Undo/Cut/Copy/Paste, the Commands menu built from TerminalCommandTable,
// View, Help), the accelerators F1 (help of the current command), F4 (EQ) and Ctrl+C/Ctrl+V,
// and the status panes of the configuration frame: the document's connection state and the
// port of its link, refreshed on idle. Messages of the terminal (the macro progress texts,
// "Ready") go to its own message pane.
//
// Ownership: a configuration frame has at most one terminal window. The window uses the
// frame's document and connection, so the configuration frame closes it before it goes
// (CloseFor in its destructor), and refuses to close while a terminal line is executing
// (the line is asked to end instead). Closing the window ends its macros and closes its log.
#pragma once

#include "app/CDocFrame.h"

#include <memory>

class CEmulatorView;
class CMainFrame;
class UserInterface;

class CEmulatorFrame : public CDocFrame {
    Q_OBJECT
public:
    // Tools > Terminal Emulator: activates the owner's terminal window, or opens one.
    static CEmulatorFrame* OpenFor(CMainFrame& owner);
    // The owner's terminal window, or nullptr.
    static CEmulatorFrame* FindFor(const CMainFrame& owner);
    // Closes and destroys the owner's terminal window at once (the owner is going).
    static void CloseFor(CMainFrame& owner);
    // The owner's views were told to refresh: its terminal window's view updates too, if any.
    static void UpdateFor(const CMainFrame& owner);

    ~CEmulatorFrame() override;

    CEmulatorView* View() const { return m_view; }
    CMainFrame& Owner() const { return m_owner; }

protected:
    CEmulatorFrame(CquillTrakApp& app, CMainFrame& owner);

    void UpdateIndicator() override;
    void UpdateCommands() override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateCommands();
    void CreateMenus();
    void UpdateTitle();
    void ShowHelp();
    void EditCommand(int id);

    CMainFrame& m_owner;
    std::unique_ptr<UserInterface> m_ui;
    CEmulatorView* m_view = nullptr;
    bool m_closeWhenIdle = false;
    bool m_clipboardHasText = false;
};
