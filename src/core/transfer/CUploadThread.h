// Copies one local file to an FTP server in a worker thread, always binary (see
// CTransferThread for the life of a transfer and its thread rules).
//
// A remote path ending in "/" only creates that remote folder. Otherwise the thread enters the
// folder part of the remote path (a path without "/" keeps the server's login folder) and
// copies the local file to the file name after the last "/", block by block; an empty local
// file makes an empty remote file.
#pragma once

#include "CTransferThread.h"

class CUploadThread : public CTransferThread {
    Q_OBJECT

public:
    explicit CUploadThread(QObject* parent = nullptr);

    // After the transfer: the local file's length.
    qint64 Size() const { return m_size; }

signals:
    // The upload has ended (message 1156); uploaded is 1 when the file (or folder) arrived.
    void UploadFinished(CUploadThread* thread, int uploaded);

protected:
    void RunTransfer() override;
    QString SuccessText() const override;
    QString CancelledText() const override;
    void PostFinish(bool done) override;

private:
    void CreateRemoteFolder();
    void UploadFile();

    qint64 m_size = 0;
};
