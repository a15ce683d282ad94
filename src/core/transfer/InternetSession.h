// The application's one Internet session for all FTP traffic: it holds the time-out that
// every FTP connection made through it receives (connect, receive and send) and the FTP port
// of the devices. A connection takes the time-out as it stands when the connection is made;
// raising it later does not change connections already open.
//
// Invariants: the time-out is never negative (0 leaves the FTP client's own); port 0 means
// the port of setting "Network/FtpPort" (21 unless set).
#pragma once

#include "FtpSession.h"

#include <memory>

class InternetSession {
public:
    static constexpr int kDefaultReceiveTimeoutMs = 30000;

    int ReceiveTimeout() const { return m_receiveTimeoutMs; }
    void SetReceiveTimeout(int milliseconds) { m_receiveTimeoutMs = milliseconds > 0 ? milliseconds : 0; }

    void SetFtpPort(quint16 port) { m_ftpPort = port; }
    // The FTP port connections use: the one set, else FtpSession::DefaultPort().
    quint16 FtpPort() const;

    // A new, not yet connected FTP connection carrying the session's time-out.
    std::unique_ptr<FtpSession> NewConnection() const;

private:
    int m_receiveTimeoutMs = kDefaultReceiveTimeoutMs;
    quint16 m_ftpPort = 0;
};
