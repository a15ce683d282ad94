// Single-instance rendezvous over a local socket; see CSingleInstance.h.
#include "app/CSingleInstance.h"

#include <QLocalSocket>
#include <QSharedPointer>

namespace {

const QByteArray kPrintTag = QByteArrayLiteral("\tprint\t");
const QByteArray kUpdateCheckTag = QByteArrayLiteral("\tcheck-updates");
// Printing opens the document, which contacts its device first: allow for the port's time-outs.
constexpr int kPrintAnswerWaitMs = 120000;
// A request is one line holding a path and a printer name; anything longer is not a request.
constexpr qsizetype kMaxRequestBytes = 64 * 1024;

} // namespace

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

bool CSingleInstance::HandOverUpdateCheck(const QString& name)
{
    return HandOver(name, QString::fromLatin1(kUpdateCheckTag));
}

CSingleInstance::PrintHandOver CSingleInstance::HandOverPrint(const QString& name, const QString& filePath,
                                                             const QString& target, QString* error)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(1000))
        return PrintHandOver::NoInstance;
    socket.write(kPrintTag + filePath.toUtf8().toPercentEncoding() + '\t' + target.toUtf8().toPercentEncoding() + '\n');
    socket.waitForBytesWritten(2000);
    QByteArray answer;
    while (!answer.contains('\n') && socket.waitForReadyRead(kPrintAnswerWaitMs))
        answer += socket.readAll();
    answer += socket.readAll();
    socket.disconnectFromServer();
    const QByteArray line = answer.left(answer.indexOf('\n'));
    if (line == "ok")
        return PrintHandOver::Printed;
    if (line.startsWith("error\t"))
        *error = QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(6)));
    else
        *error = QStringLiteral("The running instance did not answer the print request.");
    return PrintHandOver::Failed;
}

QByteArray CSingleInstance::AnswerPrintRequest(const QByteArray& line)
{
    const QList<QByteArray> fields = line.mid(kPrintTag.size()).split('\t');
    if (fields.size() != 2 || fields[0].isEmpty())
        return QByteArrayLiteral("error\t") + QByteArrayLiteral("Malformed print request.").toPercentEncoding() + '\n';
    const QString path = QString::fromUtf8(QByteArray::fromPercentEncoding(fields[0]));
    const QString target = QString::fromUtf8(QByteArray::fromPercentEncoding(fields[1]));
    QString error;
    if (m_printHandler && m_printHandler(path, target, &error))
        return QByteArrayLiteral("ok\n");
    if (!m_printHandler)
        error = QStringLiteral("This instance does not print.");
    return QByteArrayLiteral("error\t") + error.toUtf8().toPercentEncoding() + '\n';
}

bool CSingleInstance::Listen(const QString& name)
{
    // Only this user's later starts may hand over files or print requests.
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
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
            if (end < 0) {
                if (buffer->size() > kMaxRequestBytes) {
                    buffer->clear();
                    socket->disconnect(this);
                    socket->abort();
                    socket->deleteLater();
                }
                return;
            }
            const QByteArray line = buffer->left(end);
            buffer->clear();
            socket->disconnect(this);
            if (line.startsWith(kPrintTag)) {
                // Answered before the socket goes, so the requesting start learns the outcome.
                socket->write(AnswerPrintRequest(line));
                socket->waitForBytesWritten(2000);
                socket->disconnectFromServer();
                socket->deleteLater();
                return;
            }
            socket->deleteLater();
            if (line == kUpdateCheckTag) {
                emit UpdateCheckRequested();
                return;
            }
            emit OpenRequested(QString::fromUtf8(line));
        };
        connect(socket, &QLocalSocket::readyRead, this, take);
        connect(socket, &QLocalSocket::disconnected, this, [socket, take] {
            take();
            socket->deleteLater();
        });
        take();
    }
}
