// What a download and an upload thread share: the connection fields, the connection attempts
// with their pause, the cancel and finished events, the result message and error flag, and the
// signals that stand for the posted window messages.
//
// Life of a transfer: the owner makes the object, fills its fields, connects its signals and
// calls start(); the thread runs one transfer, emits status words and exactly one finish signal
// (CDownloadThread::DownloadFinished or CUploadThread::UploadFinished), then closes its FTP
// connection and sets the finished event. The owner, on the finish signal, reads
// TransferMessage() and ErrorFlag() and calls FinishTransfer(), which deletes the object.
//
// Thread rules: the owner sets fields only before start(). The worker writes the message and
// error flag only before its finish signal, so the owner may read them from then on. The
// signals are emitted on the worker thread; an owner living on another thread receives them
// queued (Qt's automatic connection), as posted messages. Cancel() may be called from any
// thread at any time; a transfer that is cancelled is not a failure: its error flag stays 0.
//
// The progress signals carry what the transfer's progress dialog shows (title, status line,
// detail line, bar position in percent, possibly beyond 100); the dialog itself belongs to
// the user interface, which opens it on ProgressOpened and closes it on ProgressClosed.
#pragma once

#include "FtpSession.h"
#include "TransferEvent.h"

#include <QString>
#include <QThread>
#include <memory>

class CTransferThread : public QThread {
    Q_OBJECT

public:
    // The window messages the signals stand for.
    enum MessageId { StatusWordMessage = 1154, DownloadFinishedMessage = 1155, UploadFinishedMessage = 1156 };

    static constexpr int kBufferSize = 1024;

    ~CTransferThread() override;

    void SetHost(const QString& host) { m_host = host; }
    void SetUser(const QString& user) { m_user = user; }
    void SetPassword(const QString& password) { m_password = password; }
    // 0 takes the port of setting "Network/FtpPort" (21 unless set).
    void SetPort(quint16 port) { m_port = port; }
    void SetPassive(bool passive) { m_passive = passive ? 1 : 0; }
    // Connection attempts; fewer than 1 counts as 1.
    void SetAttempts(int attempts) { m_attempts = attempts; }
    void SetRetryDelay(int seconds) { m_retryDelayMs = seconds * 1000; }
    void SetRetryDelayMs(int milliseconds) { m_retryDelayMs = milliseconds; }
    // Connect, receive and send time-out in milliseconds; 0 leaves the FTP client's own.
    void SetTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    void SetRemotePath(const QString& path) { m_remotePath = path; }
    void SetLocalPath(const QString& path) { m_localPath = path; }
    // Bytes per block between progress reports (512 unless set).
    void SetBlockSize(int bytes) { m_blockSize = bytes; }

    // The values the definition editors use for the device: user "Quarrant" with the access
    // code as password, 3 attempts 3 seconds apart, 3000 ms time-outs.
    void SetDeviceDefaults(const QString& host, const QString& accessCode);

    QString Host() const { return m_host; }
    quint16 Port() const { return m_port; }
    int Attempts() const { return m_attempts; }
    int RetryDelayMs() const { return m_retryDelayMs; }
    int Timeout() const { return m_timeoutMs; }
    // After the transfer: the file name alone once the path was split.
    QString RemotePath() const { return m_remotePath; }
    QString LocalPath() const { return m_localPath; }
    // After the transfer: the part of the remote path before its last "/" (a folder-only
    // upload puts the server's current folder here).
    QString RemoteFolder() const { return m_remoteFolder; }

    // The result or error message; read it after the finish signal.
    QString TransferMessage() const { return m_message; }
    // 1 when the transfer failed.
    int ErrorFlag() const { return m_errorFlag; }

    // Sets the cancel event: the transfer stops before its next block, a pause between
    // connection attempts ends at once, and a transfer not yet started does not start.
    void Cancel() { m_cancel.Set(); }
    bool IsCancelled() const { return m_cancel.IsSet(); }
    // The finished event: set when the thread has closed its connection and is ending.
    bool IsTransferFinished() const { return m_finished.IsSet(); }
    bool WaitTransferFinished(int milliseconds = -1) const { return m_finished.Wait(milliseconds); }

    // Ends the transfer and deletes this object: cancels, waits for the thread to end.
    // Call it from the owner's thread, never from a slot running on the worker thread.
    void FinishTransfer();

signals:
    // "Initializing", "Connecting", "Retrying", "Downloading" or "Uploading", "Finished".
    void StatusWord(CTransferThread* thread, const QString& word);
    // The progress dialog opens with its animation (159 downloads, 161 uploads) ...
    void ProgressOpened(int animation);
    void ProgressTitle(const QString& title);
    void ProgressStatus(const QString& text);
    void ProgressDetail(const QString& text);
    void ProgressPosition(int percent);
    // ... and closes when the thread tidies up.
    void ProgressClosed();

protected:
    explicit CTransferThread(int animation, QObject* parent = nullptr);

    void run() final;

    // The direction's own transfer. A failure leaves its text in m_message; success and
    // cancellation leave it empty.
    virtual void RunTransfer() = 0;
    // The text of a successful transfer; the transfer counts as done.
    virtual QString SuccessText() const = 0;
    // "\"<remote path>\" download cancelled." or "... upload cancelled.".
    virtual QString CancelledText() const = 0;
    // Emits the direction's finish signal.
    virtual void PostFinish(bool done) = 0;

    // The connection attempts. False with m_message set when the last attempt (or a refused
    // login) failed; false with m_message empty when cancelled.
    bool ConnectWithRetries();
    // Splits the remote path at its last "/": the folder goes to m_remoteFolder ("/" for a
    // path such as "/NAME", empty when there is no "/"); returns the part after it.
    QString SplitRemotePath();
    // Makes m_remoteFolder current, unless it is empty (the login folder stays current).
    bool EnterRemoteFolder();
    // The message of a failed FTP operation that has no text of its own.
    QString InternetFailureText(const FtpSession::Result& result) const;
    // The end of a file transfer in either direction: a failure leaves its text in m_message
    // (remoteName for a remote file that could not be opened, m_localPath for a local file
    // error); a completed or cancelled transfer posts the closing status and "Finished".
    void EndFileTransfer(const FtpSession::Result& result, const QString& remoteName);
    // The status line while data moves: "%s (%d of %d  bytes transferred)" and the position.
    bool ReportBlock(const QString& name, qint64 total, qint64 size);
    void PostStatusWord(const QString& word) { emit StatusWord(this, word); }

    FtpSession& Session() { return *m_session; }
    quint16 EffectivePort() const;

    QString m_host;
    QString m_user;
    QString m_password;
    quint16 m_port = 0;
    int m_passive = 0;
    int m_attempts = 1;
    int m_retryDelayMs = 10000;
    int m_timeoutMs = 0;
    int m_blockSize = FtpSession::kDefaultBlockSize;
    QString m_remotePath;
    QString m_localPath;
    QString m_remoteFolder;
    QString m_message;
    int m_errorFlag = 0;
    TransferEvent m_cancel;
    TransferEvent m_finished;

private:
    const int m_animation;
    std::unique_ptr<FtpSession> m_session;
};
