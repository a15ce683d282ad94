// The download direction: local folder creation, or remote file to local file.
#include "CDownloadThread.h"

#include <QDir>
#include <QFile>

namespace {

constexpr int kDownloadAnimation = 159;

bool EndsWithFolderSeparator(const QString& path)
{
    return path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/'));
}

} // namespace

CDownloadThread::CDownloadThread(QObject* parent)
    : CTransferThread(kDownloadAnimation, parent)
{
    m_timeoutMs = 3000;
}

void CDownloadThread::RunTransfer()
{
    emit ProgressTitle(QStringLiteral("Receiving ") + m_remotePath);
    emit ProgressPosition(0);
    emit ProgressDetail(QString());

    if (EndsWithFolderSeparator(m_localPath)) {
        QString folder = m_localPath;
        folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
        QDir().mkpath(folder); // a failure shows when the folder is used
        m_folderCreated = 1;
        return;
    }

    if (!ConnectWithRetries())
        return;
    m_remotePath = SplitRemotePath();
    if (!EnterRemoteFolder())
        return;

    emit ProgressStatus(m_remotePath);
    emit ProgressDetail(QStringLiteral("to: ") + m_localPath);
    // Unbuffered, so a failed write shows at the block that failed, not at close.
    QFile local(m_localPath);
    if (!local.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        m_message = QStringLiteral("Unable to create file %1").arg(m_localPath);
        return;
    }

    emit ProgressStatus(QStringLiteral("Opening %1").arg(m_remotePath));
    const QString name = m_remotePath;
    const FtpSession::Result result = Session().Download(
        name, local, m_transferType,
        [this, &name](qint64 total) { return ReportBlock(name, total, m_expectedSize); },
        [this] { PostStatusWord(QStringLiteral("Downloading")); });
    local.close();
    EndFileTransfer(result, name);
}

QString CDownloadThread::SuccessText() const
{
    if (m_folderCreated)
        return QLatin1Char('"') + m_localPath + QStringLiteral("\" folder successfully created.");
    return QLatin1Char('"') + m_remotePath + QStringLiteral("\" successfully downloaded.");
}

QString CDownloadThread::CancelledText() const
{
    return QLatin1Char('"') + m_remotePath + QStringLiteral("\" download cancelled.");
}

void CDownloadThread::PostFinish(bool)
{
    emit DownloadFinished(this);
}
