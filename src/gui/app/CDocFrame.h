// A top-level frame window of one document: toolbar, status bar with the five panes (message,
// connection state, port, CAP, NUM) and the command actions by their ids. The frame that was
// shown or activated last is the application's main window. An idle timer refreshes the
// connection indicator and the enabled state of the commands; a plain frame (no configuration
// document) keeps its state and port panes empty.
#pragma once

#include <QMainWindow>
#include <QMap>
#include <QTimer>

class CquillTrakApp;
class QLabel;
class QToolBar;

class CDocFrame : public QMainWindow {
    Q_OBJECT
public:
    // Status-bar panes as the UserInterface seam numbers them.
    static constexpr int kStatePane = 0;
    static constexpr int kPortPane = 1;
    static constexpr int kMessagePane = 2;

    explicit CDocFrame(CquillTrakApp& app, QWidget* parent = nullptr);
    ~CDocFrame() override;

    void SetPaneText(int pane, const QString& text);
    QString PaneText(int pane) const;

    // The action of a command id, nullptr when the frame has none.
    QAction* Command(int id) const { return m_commands.value(id, nullptr); }

    // Runs the idle update at once: connection indicator and command states.
    void UpdateIdle();

    CquillTrakApp& App() const { return m_app; }

protected:
    // Adds a command action (disabled until a handler is connected) with optional shortcuts.
    QAction* AddCommand(int id, const QString& text, const QList<QKeySequence>& keys = {});
    // The toolbar of every frame: New, Open, Save | Print | Cut, Copy, Paste | Read Selected
    // Folder, Read All | Dump Selected Folder, Dump All | About. Commands must exist.
    void CreateToolBar();

    // The connection indicator: a plain frame has no configuration document, so both panes
    // stay empty.
    virtual void UpdateIndicator();
    virtual void UpdateCommands() {}

    void changeEvent(QEvent* event) override;

    QToolBar* m_toolBar = nullptr;

private:
    // The CAP and NUM panes (LockKeyState).
    void UpdateLockPanes();

private:
    CquillTrakApp& m_app;
    QLabel* m_statePane = nullptr;
    QLabel* m_portPane = nullptr;
    QLabel* m_capPane = nullptr;
    QLabel* m_numPane = nullptr;
    QMap<int, QAction*> m_commands;
    QTimer m_idle;
};
