// A TCP/IP connection to one device (the device listens on port 7734). Connected by the
// constructor; a failed connect leaves the port not open with the socket error number (10000
// or above) as its status, shown as code 1. Reads wait up to the receive time-out for each
// receive; a peer that closes the connection gives status 6.
#pragma once

#include "CTimeoutSocket.h"
#include "ComStream.h"

#include <QString>
#include <chrono>

class TCPPort : public ComStream {
public:
    TCPPort(const QString& host, quint16 tcpPort,
            std::chrono::milliseconds connectWait = CTimeoutSocket::kDefaultConnectWait,
            std::chrono::milliseconds receiveWait = CTimeoutSocket::kDefaultReceiveWait);
    ~TCPPort() override;

    int Write(const char* data, int length = 0) override;
    int Read(char* buffer, int length, int terminator) override;
    void Flush() override {}
    // Drops the bytes received and not read yet, so a late reply to an earlier command is
    // never taken for the answer to the next one.
    void Purge() override;
    // "TCP/IP: %s : %u" with host and TCP port.
    QString StatusText(int unitAddress) const override;
    bool IsNetwork() const override { return true; }

    void SetReceiveWait(std::chrono::milliseconds wait) { m_socket.SetReceiveWait(wait); }
    QString Host() const { return m_host; }
    quint16 TcpPort() const { return m_tcpPort; }

protected:
    QString PortLabel() const override;

private:
    // Status for a failed receive: 7 on time-out, 6 when the connection broke or closed.
    int ReceiveFailure(int received);

    QString m_host;
    quint16 m_tcpPort = 0;
    CTimeoutSocket m_socket;
};
