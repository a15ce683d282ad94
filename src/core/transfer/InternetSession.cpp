// The application's Internet session (see InternetSession.h).
#include "InternetSession.h"

quint16 InternetSession::FtpPort() const
{
    return m_ftpPort != 0 ? m_ftpPort : FtpSession::DefaultPort();
}

std::unique_ptr<FtpSession> InternetSession::NewConnection() const
{
    auto connection = std::make_unique<FtpSession>();
    connection->SetTimeout(m_receiveTimeoutMs);
    return connection;
}
