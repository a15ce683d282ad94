// Blocking connect, receive and send on QTcpSocket with deadlines. The waitFor calls poll the
// socket themselves, so no event loop is needed on the calling thread.
#include "CTimeoutSocket.h"

#include <QDeadlineTimer>
#include <QTcpSocket>

namespace {

constexpr int kInProgress = 10036;   // another call on the socket is still waiting
constexpr int kNotConnected = 10057;
constexpr int kGenericError = 10000;

int SocketErrorNumber(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return 10061;
    case QAbstractSocket::RemoteHostClosedError: return 10054;
    case QAbstractSocket::HostNotFoundError: return 11001;
    case QAbstractSocket::SocketAccessError: return 10013;
    case QAbstractSocket::SocketResourceError: return 10055;
    case QAbstractSocket::SocketTimeoutError: return 10060;
    case QAbstractSocket::NetworkError: return 10050;
    case QAbstractSocket::AddressInUseError: return 10048;
    case QAbstractSocket::SocketAddressNotAvailableError: return 10049;
    case QAbstractSocket::UnsupportedSocketOperationError: return 10045;
    case QAbstractSocket::OperationError: return kInProgress;
    default: return kGenericError;
    }
}

// Marks a socket busy for the length of one blocking call.
class BusyGuard {
public:
    explicit BusyGuard(bool& busy) : m_busy(busy) { m_busy = true; }
    ~BusyGuard() { m_busy = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    bool& m_busy;
};

int Remaining(const QDeadlineTimer& deadline)
{
    return int(qMax<qint64>(0, deadline.remainingTime()));
}

} // namespace

CTimeoutSocket::CTimeoutSocket() = default;

CTimeoutSocket::~CTimeoutSocket()
{
    Close();
}

void CTimeoutSocket::RecordError()
{
    m_timedOut = m_socket && m_socket->error() == QAbstractSocket::SocketTimeoutError;
    m_errorNumber = m_socket ? SocketErrorNumber(m_socket->error()) : kNotConnected;
    m_errorText = m_socket ? m_socket->errorString() : QStringLiteral("Socket is not connected");
}

bool CTimeoutSocket::Connect(const QString& host, quint16 port)
{
    if (m_busy) {
        m_errorNumber = kInProgress;
        m_errorText = QStringLiteral("Operation now in progress");
        return false;
    }
    BusyGuard guard(m_busy);
    Close();
    m_socket = std::make_unique<QTcpSocket>();
    m_socket->connectToHost(host, port);
    if (!m_socket->waitForConnected(int(m_connectWait.count()))) {
        RecordError();
        m_socket->abort();
        return false;
    }
    // Commands are small and answered at once; do not hold them back to fill segments.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_errorNumber = 0;
    m_errorText.clear();
    return true;
}

bool CTimeoutSocket::IsConnected() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

int CTimeoutSocket::Receive(char* buffer, int length)
{
    m_timedOut = false;
    if (m_busy) {
        m_errorNumber = kInProgress;
        m_errorText = QStringLiteral("Operation now in progress");
        return -1;
    }
    if (!m_socket) {
        RecordError();
        return -1;
    }
    BusyGuard guard(m_busy);
    const QDeadlineTimer deadline(m_receiveWait);
    for (;;) {
        if (m_socket->bytesAvailable() > 0)
            return int(m_socket->read(buffer, length));
        if (m_socket->state() != QAbstractSocket::ConnectedState) {
            if (m_socket->error() == QAbstractSocket::RemoteHostClosedError)
                return 0;
            RecordError();
            return -1;
        }
        if (m_socket->waitForReadyRead(Remaining(deadline)) || m_socket->bytesAvailable() > 0)
            continue;
        if (m_socket->state() == QAbstractSocket::ConnectedState) {
            if (!deadline.hasExpired() && m_socket->error() != QAbstractSocket::SocketTimeoutError) {
                RecordError();
                return -1;
            }
            // Still connected and nothing came before the deadline.
            m_timedOut = true;
            m_errorNumber = SocketErrorNumber(QAbstractSocket::SocketTimeoutError);
            m_errorText = QStringLiteral("Receive timed out");
            return -1;
        }
    }
}

int CTimeoutSocket::Send(const char* data, int length)
{
    if (!IsConnected()) {
        RecordError();
        return -1;
    }
    if (m_socket->write(data, length) != length) {
        RecordError();
        return -1;
    }
    const QDeadlineTimer deadline(m_connectWait);
    while (m_socket->bytesToWrite() > 0) {
        if (!m_socket->waitForBytesWritten(Remaining(deadline))) {
            RecordError();
            return -1;
        }
    }
    return length;
}

void CTimeoutSocket::DiscardInput()
{
    if (!m_socket)
        return;
    while (m_socket->state() == QAbstractSocket::ConnectedState && m_socket->waitForReadyRead(0))
        m_socket->readAll();
    m_socket->readAll();
}

void CTimeoutSocket::Close()
{
    if (m_socket) {
        m_socket->abort();
        m_socket.reset();
    }
}
