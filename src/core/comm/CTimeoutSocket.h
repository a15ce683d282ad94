// A TCP stream socket used in blocking fashion (QTcpSocket's waitFor calls, no event loop)
// whose connect and receive give up at a deadline. The device's time-outs are 10 s to connect
// and 5 s to receive, counted on a whole-second clock that may add up to a second; the waits
// here are the upper bounds, 11 s and 6 s, and can be shortened (tests do).
// A call made while another call on the same socket is still waiting fails at once.
#pragma once

#include <QString>
#include <chrono>
#include <memory>

class QTcpSocket;

class CTimeoutSocket {
public:
    static constexpr std::chrono::milliseconds kDefaultConnectWait{11000};
    static constexpr std::chrono::milliseconds kDefaultReceiveWait{6000};

    CTimeoutSocket();
    ~CTimeoutSocket();
    CTimeoutSocket(const CTimeoutSocket&) = delete;
    CTimeoutSocket& operator=(const CTimeoutSocket&) = delete;

    void SetConnectWait(std::chrono::milliseconds wait) { m_connectWait = wait; }
    void SetReceiveWait(std::chrono::milliseconds wait) { m_receiveWait = wait; }
    std::chrono::milliseconds ReceiveWait() const { return m_receiveWait; }

    // Connects to a dotted address or a host name; false with ErrorNumber() on failure.
    bool Connect(const QString& host, quint16 port);
    // Up to length bytes: the count (> 0), 0 when the peer has closed the connection, or -1 on
    // failure (TimedOut() tells a time-out from an error).
    int Receive(char* buffer, int length);
    // The whole block: length, or -1 on failure.
    int Send(const char* data, int length);
    // Drops every byte that has arrived and not been received.
    void DiscardInput();
    void Close();

    bool IsConnected() const;
    bool TimedOut() const { return m_timedOut; }
    // The socket error of the last failure as a Winsock-style number (10061 refused, 10060
    // timed out, 11001 host not found, ...), always 10000 or above; 0 when none.
    int ErrorNumber() const { return m_errorNumber; }
    QString ErrorText() const { return m_errorText; }

private:
    void RecordError();

    std::unique_ptr<QTcpSocket> m_socket;
    std::chrono::milliseconds m_connectWait = kDefaultConnectWait;
    std::chrono::milliseconds m_receiveWait = kDefaultReceiveWait;
    bool m_busy = false;
    bool m_timedOut = false;
    int m_errorNumber = 0;
    QString m_errorText;
};
