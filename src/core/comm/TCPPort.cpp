// TCP/IP reads and writes. A terminator read takes one byte per receive (from the socket's
// buffer, so this costs no system call per byte) and counts the bytes before the terminator.
#include "TCPPort.h"

#include "CommStatusText.h"

#include <cstring>

TCPPort::TCPPort(const QString& host, quint16 tcpPort, std::chrono::milliseconds connectWait,
                 std::chrono::milliseconds receiveWait)
    : m_host(host)
    , m_tcpPort(tcpPort)
{
    m_socket.SetConnectWait(connectWait);
    m_socket.SetReceiveWait(receiveWait);
    if (m_socket.Connect(host, tcpPort)) {
        m_open = 1;
    } else {
        m_status = m_socket.ErrorNumber();
        m_lastErrorText = m_socket.ErrorText();
    }
}

TCPPort::~TCPPort() = default;

int TCPPort::ReceiveFailure(int received)
{
    if (received == 0) {
        m_lastErrorText = QStringLiteral("The device closed the connection");
        return CommIoError;
    }
    if (m_socket.TimedOut())
        return CommTimeout;
    m_lastErrorText = m_socket.ErrorText();
    return CommIoError;
}

int TCPPort::Write(const char* data, int length)
{
    if (!IsOpen() || !data)
        return 0;
    if (length == 0)
        length = int(std::strlen(data));
    if (length <= 0)
        return 0;
    if (m_socket.Send(data, length) < 0) {
        m_status = CommIoError;
        m_lastErrorText = m_socket.ErrorText();
        return 0;
    }
    return length;
}

int TCPPort::Read(char* buffer, int length, int terminator)
{
    if (!IsOpen())
        return 0;
    if (!buffer || length < 1) {
        m_status = CommProtocolError;
        return 0;
    }
    if (terminator < 0) {
        const int received = m_socket.Receive(buffer, length);
        if (received > 0)
            return received;
        m_status = ReceiveFailure(received);
        return 0;
    }
    const uint8_t end = uint8_t(terminator);
    for (int i = 0;;) {
        const int received = m_socket.Receive(buffer + i, 1);
        if (received <= 0) {
            // A partial line is no answer: report the failure, never the bytes so far.
            m_status = ReceiveFailure(received);
            return 0;
        }
        if (uint8_t(buffer[i]) == end)
            return i;
        if (++i == length) {
            m_status = CommProtocolError;
            return 0;
        }
    }
}

void TCPPort::Purge()
{
    if (IsOpen())
        m_socket.DiscardInput();
}

QString TCPPort::StatusText(int) const
{
    if (!IsOpen())
        return QStringLiteral("Comm Not Enabled");
    return QStringLiteral("TCP/IP: %1 : %2").arg(m_host).arg(m_tcpPort);
}

QString TCPPort::PortLabel() const
{
    return QString::number(m_tcpPort);
}
