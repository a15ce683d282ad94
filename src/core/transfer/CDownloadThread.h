// Copies one remote file from an FTP server to a local file in a worker thread (see
// CTransferThread for the life of a transfer and its thread rules).
//
// A local path ending in a folder separator ("\" or "/") only creates that local folder and
// never connects. Otherwise the thread connects, enters the folder part of the remote path
// (a path without "/" keeps the server's login folder), creates the local file (replacing an
// old one) and copies the remote file into it block by block. A cancelled download leaves the
// blocks received so far in the local file.
#pragma once

#include "CTransferThread.h"

class CDownloadThread : public CTransferThread {
    Q_OBJECT

public:
    explicit CDownloadThread(QObject* parent = nullptr);

    // Bytes expected, for the progress percentage only; 0 shows no percentage.
    void SetExpectedSize(qint64 bytes) { m_expectedSize = bytes; }
    void SetTransferType(FtpSession::TransferType type) { m_transferType = type; }

    qint64 ExpectedSize() const { return m_expectedSize; }
    FtpSession::TransferType TransferType() const { return m_transferType; }
    // Set when the download only created a local folder.
    int FolderCreated() const { return m_folderCreated; }

signals:
    // The download has ended (message 1155); read the message and error flag now.
    void DownloadFinished(CDownloadThread* thread);

protected:
    void RunTransfer() override;
    QString SuccessText() const override;
    QString CancelledText() const override;
    void PostFinish(bool done) override;

private:
    qint64 m_expectedSize = 0;
    FtpSession::TransferType m_transferType = FtpSession::TransferType::Binary;
    int m_folderCreated = 0;
};
