// One FTP connection over libcurl, in the shape the transfer threads need: log in, change and
// create folders, delete a file, and stream one remote file to or from a local QFile.
//
// libcurl works per transfer URL; the session keeps host, port, user, password and the current
// folder and runs every operation as a transfer on the one easy handle it owns, so libcurl
// keeps the control connection alive between operations (and logs in again on its own if the
// server dropped it). Active mode ("PORT -", the control connection's own address) unless
// passive is asked for.
//
// Invariants: a session belongs to one thread at a time (libcurl handles are not shared);
// operations other than Connect fail with FtpError::Internal until Connect succeeded; the
// current folder is kept relative to the login folder unless it was set absolute ("/...").
// Data moves through the local file in blocks of BlockSize() bytes: every block is written
// (or read) and then reported to the block callback, which may cancel the transfer; the last
// block of a transfer is short, possibly empty, and is reported too. Names holding a carriage
// return, line feed or NUL are refused before anything is sent.
#pragma once

#include "FtpError.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QFile;

class FtpSession {
public:
    enum class TransferType { Binary, Ascii };

    // Sets up the FTP library's process-wide state (once; later calls give the first answer).
    // False when it could not be set up: no FTP connection can then be made.
    static bool InitialiseLibrary();

    struct Result {
        enum class Kind { Ok, Cancelled, Internet, LocalFile };
        Kind kind = Kind::Ok;
        // Internet: an FtpError number. LocalFile: the local file's QFileDevice::FileError.
        int error = 0;
        // What went wrong, for people: the fixed text of the number, with the server's reply
        // for a refused login or command, or libcurl's detail otherwise.
        QString text;
        // A file transfer got past the server's acceptance of the retrieve or store command.
        bool opened = false;
        bool Ok() const { return kind == Kind::Ok; }
    };

    // Called after every block with the bytes moved so far; returning false cancels.
    using BlockCallback = std::function<bool(qint64 total)>;
    // Called once when the server has accepted the transfer of a file.
    using OpenedCallback = std::function<void()>;
    // Polled while libcurl waits (connecting, waiting for replies or data); true cancels.
    using CancelCheck = std::function<bool()>;

    static constexpr int kDefaultBlockSize = 512;
    static constexpr quint16 kStandardPort = 21;

    FtpSession();
    ~FtpSession();
    FtpSession(const FtpSession&) = delete;
    FtpSession& operator=(const FtpSession&) = delete;

    // The FTP port when the caller gives none: setting "Network/FtpPort", else 21.
    static quint16 DefaultPort();

    // Connect, receive and send time-outs in milliseconds; 0 leaves libcurl's own.
    void SetTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    void SetBlockSize(int bytes) { m_blockSize = bytes > 0 ? bytes : kDefaultBlockSize; }
    int BlockSize() const { return m_blockSize; }
    void SetCancelCheck(CancelCheck check) { m_cancelCheck = std::move(check); }

    // Opens the control connection and logs in; port 0 takes DefaultPort(). The current
    // folder becomes the login folder.
    Result Connect(const QString& host, const QString& user, const QString& password,
                   quint16 port = 0, bool passive = false);
    // Closes the connection (QUIT when it is still up).
    void Disconnect();
    bool IsConnected() const { return m_connected; }

    // Makes a folder current, relative to the current one unless it starts with "/". An empty
    // folder keeps the current one. The folder is entered on the server to prove it exists.
    Result SetCurrentFolder(const QString& folder);
    // The current folder as an absolute path on the server ("/" is the login folder of most
    // servers), like the server's own answer to PWD.
    QString CurrentFolder() const;
    Result CreateFolder(const QString& folder);
    Result DeleteFile(const QString& name);

    // Copies a remote file (relative to the current folder) into the open local file.
    Result Download(const QString& name, QFile& local, TransferType type,
                    const BlockCallback& onBlock, const OpenedCallback& onOpened = {});
    // Copies the rest of the open local file to a remote file, always binary.
    Result Upload(const QString& name, QFile& local, const BlockCallback& onBlock,
                  const OpenedCallback& onOpened = {});

    // The server's last complete reply, lines joined with "\n".
    QString LastResponse() const { return m_lastResponse; }

private:
    static size_t HeaderCallback(char* data, size_t size, size_t count, void* self);
    static size_t WriteCallback(char* data, size_t size, size_t count, void* self);
    static size_t ReadCallback(char* buffer, size_t size, size_t count, void* self);
    static size_t DiscardCallback(char* data, size_t size, size_t count, void* self);
    static int ProgressCallback(void* self, long long, long long, long long, long long);

    void OnResponseLine(QByteArray line);
    size_t OnData(const char* data, size_t length);
    size_t OnRead(char* buffer, size_t length);
    void MarkOpened();
    bool FlushBlock();

    // Sets every option of the next transfer on the handle, resetting the previous one's.
    void Prepare(const QByteArray& url);
    Result Perform();
    Result Failure(FtpError::Number number, const QString& text) const;
    Result CommandAtCurrentFolder(const QString& command);

    QString Resolve(const QString& path) const;
    QByteArray FolderUrl(const QString& resolvedFolder) const;
    QByteArray FileUrl(const QString& resolvedFile) const;
    static bool IsSafeName(const QString& name);

    void* m_curl = nullptr;
    char* m_errorBuffer = nullptr;
    bool m_connected = false;
    QString m_host;
    quint16 m_port = kStandardPort;
    QString m_user;
    QString m_password;
    bool m_passive = false;
    int m_timeoutMs = 0;
    int m_blockSize = kDefaultBlockSize;
    CancelCheck m_cancelCheck;
    QString m_entryPath;
    QString m_currentFolder;

    QString m_lastResponse;
    QByteArray m_openResponse;
    bool m_responseOpen = false;

    // State of the file transfer in progress.
    bool m_transferring = false;
    QFile* m_file = nullptr;
    BlockCallback m_onBlock;
    OpenedCallback m_onOpened;
    QByteArray m_pending;
    qint64 m_total = 0;
    bool m_opened = false;
    bool m_abortRequested = false;
    bool m_localError = false;
    bool m_endOfFile = false;
};
