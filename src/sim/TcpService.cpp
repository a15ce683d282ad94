// The TCP/IP command port (see TcpService.h).
#include "TcpService.h"

#include <QPointer>
#include <QTcpSocket>

TcpService::TcpService(const QString& address, quint16 port, const SimLineConfig& line, DeviceState& state,
                       CommandHandler& handler, FaultInjector& faults, QObject* parent)
    : QObject(parent)
    , m_address(address)
    , m_port(port)
    , m_line(line)
    , m_state(state)
    , m_handler(handler)
    , m_faults(faults)
{
    connect(&m_server, &QTcpServer::newConnection, this, &TcpService::Accept);
}

bool TcpService::Start(QString* error)
{
    if (!m_server.listen(QHostAddress(m_address), m_port)) {
        *error = QStringLiteral("cannot listen on %1:%2: %3").arg(m_address).arg(m_port).arg(m_server.errorString());
        return false;
    }
    return true;
}

QString TcpService::ReadyText() const
{
    return QStringLiteral("tcp=%1:%2").arg(m_address).arg(m_server.serverPort());
}

void TcpService::Stop()
{
    m_server.close();
    for (QTcpSocket* socket : m_server.findChildren<QTcpSocket*>())
        socket->abort();
}

void TcpService::Accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        SimLineConfig line = m_line;
        line.name = QStringLiteral("tcp %1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort());
        QPointer<QTcpSocket> guard(socket);
        auto* connection = new SimConnection(
            line, m_state, m_handler, m_faults,
            [guard](const QByteArray& bytes) {
                if (guard && guard->state() == QAbstractSocket::ConnectedState)
                    guard->write(bytes);
            },
            // Closing is deferred to the event loop: the connection object goes with its socket.
            [guard]() {
                if (guard)
                    QMetaObject::invokeMethod(guard.data(), &QTcpSocket::abort, Qt::QueuedConnection);
            },
            socket);
        connect(socket, &QTcpSocket::readyRead, connection, [socket, connection]() { connection->Received(socket->readAll()); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        if (m_line.verbose)
            std::fprintf(stderr, "quarrant-devsim: %s: connected\n", qPrintable(line.name));
    }
}
