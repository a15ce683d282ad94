// The command-line tool's user interface: messages go to stderr, questions are answered by
// policy (--yes, --on-error abort|retry|ignore) so that nothing waits for input unless a
// terminal is attached and the policy asks for it. Progress goes to stderr on a terminal.
#pragma once

#include "UserInterface.h"

#include <cstdio>

class ConsoleUserInterface : public UserInterface {
public:
    enum class ErrorPolicy { Abort, Retry, Ignore };

    explicit ConsoleUserInterface(FILE* err = stderr);

    void SetAssumeYes(bool yes) { m_assumeYes = yes; }
    void SetErrorPolicy(ErrorPolicy p) { m_errorPolicy = p; }
    // Bounds the retries the Retry policy grants one failing step.
    void SetMaxRetries(int n) { m_maxRetries = n; }
    void SetProgressEnabled(bool on) { m_progress = on; }
    // The access code given on the command line; without one the prompt counts as cancelled.
    void SetAccessCode(const QString& code) { m_accessCode = code; }

    int MessageBox(const QString& text, const QString& caption, Buttons buttons, Icon icon) override;
    void ProgressBegin(const QString& title, const QString& text, int lower, int upper) override;
    void ProgressSetText(const QString& text) override;
    void ProgressSetPos(int pos) override;
    void ProgressStep() override;
    bool ProgressCancelled() override { return false; }
    void ProgressFinish(const QString& text, bool waitForClose) override;
    void ProgressEnd() override;
    void Pump() override {}
    std::optional<QString> ChooseSaveFile(const QString& caption, const QString& suggestedName,
                                          const QString& filter) override;
    std::optional<QString> ChooseOpenFile(const QString& caption, const QString& filter) override;
    std::optional<QString> AskAccessCode(const QString& prompt) override;
    int ChooseFromList(const QString& caption, const QStringList& items) override;
    void SetStatusText(int pane, const QString& text) override;
    void SetWaitCursor(bool) override {}

private:
    void DrawProgress();

    FILE* m_err;
    bool m_assumeYes = false;
    ErrorPolicy m_errorPolicy = ErrorPolicy::Abort;
    int m_maxRetries = 3;
    int m_retriesUsed = 0;
    bool m_progress = false;
    QString m_title;
    QString m_text;
    int m_lower = 0;
    int m_upper = 100;
    int m_pos = 0;
    int m_lastPercent = -1;
    std::optional<QString> m_accessCode;
};
