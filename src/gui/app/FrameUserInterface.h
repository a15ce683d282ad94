// The user interface of one document frame: message boxes, progress window, file choice and
// the access-code and list prompts as plain Qt dialogs parented to the frame, and the status
// texts in the frame's status-bar panes. Each configuration document's device operations talk
// to the user through the one of its frame.
#pragma once

#include "UserInterface.h"

#include <QPointer>

class CDocFrame;
class QProgressDialog;

class FrameUserInterface : public UserInterface {
public:
    explicit FrameUserInterface(CDocFrame* frame);
    ~FrameUserInterface() override;

    int MessageBox(const QString& text, const QString& caption, Buttons buttons, Icon icon) override;
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

private:
    QPointer<CDocFrame> m_frame;
    QProgressDialog* m_progress = nullptr;
    int m_waitDepth = 0;
};
