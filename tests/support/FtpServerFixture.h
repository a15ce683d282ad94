// A real FTP server for tests and benchmarks: runs scripts/ftpserver.py (pyftpdlib) with
// Debian's /usr/bin/python3 on 127.0.0.1 and an ephemeral port, in a fresh temporary root.
// User "Quarrant" has the root (with its folder "CONFIG"), user "Corvantix" the root's
// "firmware" folder; both log in with the access code. A refused login is answered after the
// given auth-failed time-out (shortened from pyftpdlib's 3 s so tests stay quick).
//
// Start() waits (bounded) for the server's "ftp port=N" line; the destructor kills the server.
// The server also exits by itself when this process dies, because its stdin pipe closes.
// Header-only and free of test-framework types so the benchmarks can use it as well.
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>

class FtpServerFixture {
public:
    explicit FtpServerFixture(QString accessCode = QStringLiteral("1234"), double authFailedTimeout = 0.1)
        : m_accessCode(std::move(accessCode))
        , m_authFailedTimeout(authFailedTimeout)
    {
    }

    ~FtpServerFixture() { Stop(); }

    FtpServerFixture(const FtpServerFixture&) = delete;
    FtpServerFixture& operator=(const FtpServerFixture&) = delete;

    // The launcher, found from this header's place in the source tree.
    static QString ScriptPath()
    {
        return QDir::cleanPath(QFileInfo(QStringLiteral(__FILE__)).absolutePath()
                               + QStringLiteral("/../../scripts/ftpserver.py"));
    }

    // More launcher options, such as "--on-upload-command"; set them before Start().
    void SetExtraArguments(const QStringList& arguments) { m_extraArguments = arguments; }

    // Starts the server; false with a reason in *error when it did not come up in time.
    bool Start(QString* error = nullptr, int waitMs = 15000)
    {
        if (!m_root.isValid())
            return Fail(error, QStringLiteral("no temporary folder"));
        m_process.setProgram(QStringLiteral("/usr/bin/python3"));
        m_process.setArguments(QStringList{ScriptPath(), QStringLiteral("--host"), QStringLiteral("127.0.0.1"),
                                QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--root"), Root(),
                                QStringLiteral("--access-code"), m_accessCode,
                                QStringLiteral("--auth-failed-timeout"), QString::number(m_authFailedTimeout),
                                QStringLiteral("--exit-with-stdin")}
                               + m_extraArguments);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        if (!m_process.waitForStarted(waitMs))
            return Fail(error, QStringLiteral("python did not start: ") + m_process.errorString());

        QDeadlineTimer deadline(waitMs);
        QByteArray seen;
        while (!deadline.hasExpired()) {
            if (m_process.canReadLine()) {
                const QByteArray line = m_process.readLine().trimmed();
                seen += line + '\n';
                if (line.startsWith("ftp port=")) {
                    m_port = quint16(line.mid(9).toUInt());
                    return m_port != 0 || Fail(error, QStringLiteral("bad port line"));
                }
                continue;
            }
            if (m_process.state() != QProcess::Running)
                break;
            m_process.waitForReadyRead(int(std::max<qint64>(1, std::min<qint64>(200, deadline.remainingTime()))));
        }
        Stop();
        return Fail(error, QStringLiteral("no port line from the FTP server: ") + QString::fromUtf8(seen));
    }

    void Stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
        m_port = 0;
    }

    quint16 Port() const { return m_port; }
    QString AccessCode() const { return m_accessCode; }
    // The home of user "Quarrant".
    QString Root() const { return m_root.path(); }
    QString ConfigFolder() const { return Root() + QStringLiteral("/CONFIG"); }
    // The home of user "Corvantix".
    QString FirmwareFolder() const { return Root() + QStringLiteral("/firmware"); }

    // Places a file under the root (path relative to it) for a download test.
    bool PutFile(const QString& relativePath, const QByteArray& content) const
    {
        const QString path = Root() + QLatin1Char('/') + relativePath;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
    }

    // The content of a file under the root, or a null array when it is missing.
    QByteArray ReadFile(const QString& relativePath) const
    {
        QFile file(Root() + QLatin1Char('/') + relativePath);
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray();
        QByteArray content = file.readAll();
        if (content.isNull())
            content = QByteArray("");
        return content;
    }

private:
    static bool Fail(QString* error, const QString& reason)
    {
        if (error)
            *error = reason;
        return false;
    }

    QString m_accessCode;
    double m_authFailedTimeout;
    QStringList m_extraArguments;
    QTemporaryDir m_root;
    QProcess m_process;
    quint16 m_port = 0;
};
