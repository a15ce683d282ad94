// The progress dialog of one FTP transfer: a status line, a detail line, a bar and a Cancel
// button, titled with the percentage and the transfer's own text ("45% Receiving CONFIG/...").
// The transfer runs in its worker thread; the dialog lives on the user-interface thread and
// follows the thread's progress signals, which reach it queued: it opens when the transfer
// starts and closes when the thread tidies up. It shows no animation.
//
// Invariants: a percentage other than 100 is shown modulo 100 (a download larger than expected
// goes past 100 and starts again at 0); the title is set only when its text changes. Cancel
// sets the followed thread's cancel flag and leaves the dialog open until the thread ends it;
// the dialog and the thread object may be destroyed in either order.
#pragma once

#include <QDialog>
#include <QPointer>

class CTransferThread;
class QLabel;
class QProgressBar;
class QPushButton;

class CProgressDlg : public QDialog {
    Q_OBJECT
public:
    explicit CProgressDlg(QWidget* parent = nullptr);
    ~CProgressDlg() override;

    // Follows a transfer thread: call it before the thread starts.
    void Attach(CTransferThread* thread);

    void ShowStatusLine(const QString& text);
    void ShowDetailLine(const QString& text);
    void SetBaseTitle(const QString& text);
    // The upper bound of the positions MoveBar takes (the lower bound is 0); the bar stays.
    void SetUpperBound(int value);
    // Moves the bar to the position's percentage of the bounds and shows it in the title.
    void MoveBar(int position);

    QString StatusLine() const;
    QString DetailLine() const;
    QString BaseTitle() const { return m_baseTitle; }
    // The percentage shown, 0..100.
    int Percent() const { return m_percent; }
    QPushButton* CancelButton() const { return m_cancel; }
    QProgressBar* Bar() const { return m_bar; }

signals:
    // Cancel was pressed (also with Escape or the window's close button).
    void CancelRequested();

protected:
    void reject() override;

private:
    void UpdateTitle();

    QLabel* m_status = nullptr;
    QLabel* m_detail = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancel = nullptr;
    QPointer<CTransferThread> m_thread;
    QString m_baseTitle;
    int m_lower = 0;
    int m_upper = 100;
    int m_percent = 0;
};
