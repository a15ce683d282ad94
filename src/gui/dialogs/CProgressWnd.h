// The progress window of long operations that run in a loop on the user-interface thread:
// a text, a bar and a Cancel button that becomes "&Close" when the operation finishes. The
// operation moves the bar and polls for Cancel between its steps.
//
// Invariants: once cancelled it stays cancelled; the title shows "%s [%d%%]" after the first
// percentage change; the bar is visible only while its range is not empty.
#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

class CProgressWnd : public QWidget {
    Q_OBJECT
public:
    explicit CProgressWnd(QWidget* parent = nullptr, const QString& title = QString(), bool smooth = false);
    ~CProgressWnd() override;

    void ShowProgressText(const QString& text);
    QString ProgressText() const;
    void SetBarRange(int lower, int upper, int step = 1);
    // Moves the bar; returns the previous position.
    int MoveBar(int position);
    int StepBar() { return MoveBar(m_position + m_step); }
    // Processes waiting events. With cancelOnEscape an Escape key cancels; with holdOtherInput
    // input meant for other windows is dropped meanwhile.
    void PollCancel(bool cancelOnEscape = false, bool holdOtherInput = false);
    bool IsCancelled() const { return m_cancelled; }
    void Cancel() { m_cancelled = true; }

    // The end of the operation: shows the text and turns Cancel into "&Close"; with
    // waitForClose, runs until the user closes the window.
    void Finish(const QString& text, bool waitForClose);
    bool IsFinished() const { return m_finished; }
    QPushButton* Button() const { return m_button; }
    QProgressBar* Bar() const { return m_bar; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnButton();

    QString m_title;
    QLabel* m_text = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_button = nullptr;
    bool m_cancelled = false;
    bool m_finished = false;
    bool m_closed = false;
    bool m_escapeCancels = false;
    bool m_holdInput = false;
    int m_position = 0;
    int m_lastPercent = 0;
    int m_step = 1;
    int m_lower = 0;
    int m_upper = 100;
};
