// The desktop application's side of the UserInterface seam: message boxes, the progress
// window, file choice, the access-code prompt, the list chooser, status-bar texts (through a
// callback the frame sets) and the wait cursor. One object per frame or per application; the
// frame passes it to the core's device operations.
#pragma once

#include "UserInterface.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class CProgressWnd;

class GuiUserInterface : public UserInterface {
public:
    using StatusSink = std::function<void(int pane, const QString& text)>;

    explicit GuiUserInterface(QWidget* parent = nullptr);
    ~GuiUserInterface() override;

    void SetParent(QWidget* parent) { m_parent = parent; }
    // The frame's status bar: pane 0 the connection state, 1 the port, 2 the message pane.
    void SetStatusSink(StatusSink sink) { m_statusSink = std::move(sink); }

    int MessageBox(const QString& text, const QString& caption = QString(), Buttons buttons = Buttons::Ok,
                   Icon icon = Icon::None) override;
    void ProgressBegin(const QString& title, const QString& text, int lower, int upper) override;
    void ProgressSetText(const QString& text) override;
    void ProgressSetPos(int pos) override;
    void ProgressStep() override;
    bool ProgressCancelled() override;
    void ProgressFinish(const QString& text, bool waitForClose) override;
    void ProgressEnd() override;
    void Pump() override;
    std::optional<QString> ChooseSaveFile(const QString& caption, const QString& suggestedName,
                                          const QString& filter) override;
    std::optional<QString> ChooseOpenFile(const QString& caption, const QString& filter) override;
    std::optional<QString> AskAccessCode(const QString& prompt) override;
    int ChooseFromList(const QString& caption, const QStringList& items) override;
    void SetStatusText(int pane, const QString& text) override;
    void SetWaitCursor(bool on) override;

    // The progress window while an operation runs, else nullptr.
    CProgressWnd* ProgressWindow() const { return m_progress.get(); }

private:
    QPointer<QWidget> m_parent;
    StatusSink m_statusSink;
    std::unique_ptr<CProgressWnd> m_progress;
    int m_waitDepth = 0;
};
