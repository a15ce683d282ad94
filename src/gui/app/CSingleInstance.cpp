// Single-instance rendezvous over a local socket; see CSingleInstance.h.
#include "app/CSingleInstance.h"

#include <QLocalSocket>
#include <QSharedPointer>

CSingleInstance::CSingleInstance(QObject* parent) : QObject(parent)
{
    connect(&m_server, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
}

QString CSingleInstance::DefaultName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    return QStringLiteral("quarrant.net-%1").arg(user);
}

bool CSingleInstance::HandOver(const QString& name, const QString& filePath)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(filePath.toUtf8() + '\n');
    const bool written = socket.waitForBytesWritten(2000) || socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(1000);
    return written;
}

bool CSingleInstance::Listen(const QString& name)
{
    if (m_server.listen(name))
        return true;
    // A socket left behind by a crashed instance: nobody answered HandOver, so take it over.
    QLocalServer::removeServer(name);
    return m_server.listen(name);
}

void CSingleInstance::OnNewConnection()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        auto buffer = QSharedPointer<QByteArray>::create();
        auto take = [this, socket, buffer] {
            buffer->append(socket->readAll());
            const qsizetype end = buffer->indexOf('\n');
            if (end < 0)
                return;
            const QString path = QString::fromUtf8(buffer->left(end));
            buffer->clear();
            socket->disconnect(this);
            socket->deleteLater();
            emit OpenRequested(path);
        };
        connect(socket, &QLocalSocket::readyRead, this, take);
        connect(socket, &QLocalSocket::disconnected, this, [socket, take] {
            take();
            socket->deleteLater();
        });
        take();
    }
}
