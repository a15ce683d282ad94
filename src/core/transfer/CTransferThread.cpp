// The steps both transfer directions share: start, connection attempts, result message, end.
#include "CTransferThread.h"

#include <algorithm>
#include <climits>

CTransferThread::CTransferThread(int animation, QObject* parent)
    : QThread(parent)
    , m_animation(animation)
{
}

CTransferThread::~CTransferThread()
{
    // Never destroy a running thread: stop the transfer and wait for it first.
    m_cancel.Set();
    wait();
}

void CTransferThread::SetDeviceDefaults(const QString& host, const QString& accessCode)
{
    m_host = host;
    m_user = QStringLiteral("Quarrant");
    m_password = accessCode;
    m_attempts = 3;
    m_retryDelayMs = 3000;
    m_timeoutMs = 3000;
}

void CTransferThread::FinishTransfer()
{
    m_cancel.Set();
    if (isRunning())
        setPriority(QThread::HighPriority);
    wait();
    delete this;
}

quint16 CTransferThread::EffectivePort() const
{
    return m_port != 0 ? m_port : FtpSession::DefaultPort();
}

void CTransferThread::run()
{
    bool done = false;
    bool progressOpen = false;
    if (m_cancel.IsSet()) {
        m_message = CancelledText();
    } else {
        PostStatusWord(QStringLiteral("Initializing"));
        emit ProgressOpened(m_animation);
        progressOpen = true;

        m_session = std::make_unique<FtpSession>();
        if (m_timeoutMs != 0)
            m_session->SetTimeout(m_timeoutMs);
        m_session->SetBlockSize(m_blockSize);
        m_session->SetCancelCheck([this] { return m_cancel.IsSet(); });

        RunTransfer();

        m_message.replace(QLatin1Char('\n'), QLatin1Char(' '));
        m_message.remove(QLatin1Char('\r'));
        if (!m_message.isEmpty()) {
            m_errorFlag = 1;
        } else if (m_cancel.IsSet()) {
            m_message = CancelledText();
        } else {
            m_message = SuccessText();
            done = true;
        }
    }

    PostFinish(done);

    m_session.reset(); // closes the connection on this thread, which owns it
    if (progressOpen)
        emit ProgressClosed();
    m_finished.Set();
}

bool CTransferThread::ConnectWithRetries()
{
    const int attempts = std::max(1, m_attempts);
    const quint16 port = EffectivePort();
    PostStatusWord(QStringLiteral("Connecting"));
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        emit ProgressStatus(QStringLiteral("Connecting to %1 (Attempt %2 of %3)").arg(m_host).arg(attempt).arg(attempts));
        const FtpSession::Result result = m_session->Connect(m_host, m_user, m_password, port, m_passive != 0);
        if (result.Ok())
            return true;
        m_session->Disconnect();
        if (result.kind == FtpSession::Result::Kind::Cancelled)
            return false;

        const QString failure = result.text.left(kBufferSize);
        // A refused login will be refused again; the last attempt ends the transfer.
        if (result.error == FtpError::IncorrectPassword || attempt == attempts) {
            m_message = failure;
            return false;
        }
        emit ProgressStatus(QStringLiteral("Failed to connect to %1 (Attempt %2 of %3)").arg(m_host).arg(attempt).arg(attempts));
        const int seconds = (std::max(0, m_retryDelayMs) + 999) / 1000;
        emit ProgressDetail(QStringLiteral("Retrying after %1 seconds...").arg(seconds));
        // A cancel during the pause is taken as a cancel of the transfer, not as a failure.
        if (m_cancel.Wait(std::max(0, m_retryDelayMs)))
            return false;
        PostStatusWord(QStringLiteral("Retrying"));
        emit ProgressDetail(QString());
    }
    return false;
}

QString CTransferThread::SplitRemotePath()
{
    const int slash = m_remotePath.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) {
        m_remoteFolder.clear();
        return m_remotePath;
    }
    m_remoteFolder = slash == 0 ? QStringLiteral("/") : m_remotePath.left(slash);
    return m_remotePath.mid(slash + 1);
}

bool CTransferThread::EnterRemoteFolder()
{
    if (m_remoteFolder.isEmpty())
        return true;
    const FtpSession::Result result = m_session->SetCurrentFolder(m_remoteFolder);
    if (result.Ok() || result.kind == FtpSession::Result::Kind::Cancelled)
        return result.Ok();
    if (result.error == FtpError::Extended)
        m_message = m_session->LastResponse();
    else
        m_message = InternetFailureText(result);
    return false;
}

QString CTransferThread::InternetFailureText(const FtpSession::Result& result) const
{
    QString text = QStringLiteral("Internet Exception Error %1").arg(result.error);
    if (result.error == FtpError::Extended)
        text += QLatin1Char(' ') + m_session->LastResponse();
    return text;
}

void CTransferThread::EndFileTransfer(const FtpSession::Result& result, const QString& remoteName)
{
    switch (result.kind) {
    case FtpSession::Result::Kind::Ok:
    case FtpSession::Result::Kind::Cancelled:
        break;
    case FtpSession::Result::Kind::LocalFile:
        m_message = QStringLiteral("File Error %1 %2").arg(result.error).arg(m_localPath);
        return;
    case FtpSession::Result::Kind::Internet:
        if (!result.opened && (result.error == FtpError::Extended || result.error == FtpError::InvalidUrl))
            m_message = QStringLiteral("Unable to open remote file %1").arg(remoteName);
        else
            m_message = InternetFailureText(result);
        return;
    }

    emit ProgressStatus(QStringLiteral("Closing connection to %1").arg(m_host));
    PostStatusWord(QStringLiteral("Finished"));
}

bool CTransferThread::ReportBlock(const QString& name, qint64 total, qint64 size)
{
    emit ProgressStatus(QStringLiteral("%1 (%2 of %3  bytes transferred)").arg(name).arg(total).arg(size));
    emit ProgressPosition(size > 0 ? int(std::min<qint64>(total * 100 / size, INT_MAX)) : 0);
    return !m_cancel.IsSet();
}
