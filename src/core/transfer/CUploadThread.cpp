// The upload direction: remote folder creation, or local file to remote file.
#include "CUploadThread.h"

#include <QFile>

namespace {

constexpr int kUploadAnimation = 161;

} // namespace

CUploadThread::CUploadThread(QObject* parent)
    : CTransferThread(kUploadAnimation, parent)
{
}

void CUploadThread::RunTransfer()
{
    emit ProgressTitle(QStringLiteral("Sending ") + m_localPath);
    emit ProgressPosition(0);
    emit ProgressDetail(QString());

    const bool folderOnly = m_remotePath.endsWith(QLatin1Char('/'));
    const QString name = SplitRemotePath();
    if (!folderOnly)
        m_remotePath = name;

    if (!ConnectWithRetries())
        return;
    if (folderOnly)
        CreateRemoteFolder();
    else
        UploadFile();
}

void CUploadThread::CreateRemoteFolder()
{
    const FtpSession::Result result = Session().CreateFolder(m_remoteFolder);
    if (result.kind == FtpSession::Result::Kind::Cancelled)
        return;
    if (!result.Ok()) {
        m_message = result.error == FtpError::Extended ? Session().LastResponse() : InternetFailureText(result);
        return;
    }
    m_remoteFolder = Session().CurrentFolder();
    emit ProgressStatus(QStringLiteral("Closing connection to %1").arg(m_host));
    PostStatusWord(QStringLiteral("Finished"));
}

void CUploadThread::UploadFile()
{
    if (!EnterRemoteFolder())
        return;

    emit ProgressStatus(m_localPath);
    emit ProgressDetail(QStringLiteral("to: ") + m_remotePath);
    QFile local(m_localPath);
    if (!local.open(QIODevice::ReadOnly)) {
        m_message = QStringLiteral("Unable to open file %1").arg(m_localPath);
        return;
    }

    emit ProgressStatus(QStringLiteral("Opening %1").arg(m_remotePath));
    m_size = local.size();
    const FtpSession::Result result = Session().Upload(
        m_remotePath, local,
        [this](qint64 total) { return ReportBlock(m_localPath, total, m_size); },
        [this] { PostStatusWord(QStringLiteral("Uploading")); });
    local.close();
    EndFileTransfer(result, m_remotePath);
}

QString CUploadThread::SuccessText() const
{
    return QLatin1Char('"') + m_remotePath + QStringLiteral("\" successfully uploaded.");
}

QString CUploadThread::CancelledText() const
{
    return QLatin1Char('"') + m_remotePath + QStringLiteral("\" upload cancelled.");
}

void CUploadThread::PostFinish(bool done)
{
    emit UploadFinished(this, done ? 1 : 0);
}
