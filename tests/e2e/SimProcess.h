// Test helper: runs the device simulator as a real process on loopback, reads its ready line
// and stops it with SIGTERM. By default it listens on 127.0.0.1 with an ephemeral TCP port;
// WithPty adds a pseudo-terminal whose link lives in the helper's temporary folder.
// Every wait is bounded (start 10 s, stop 10 s).
#pragma once

#include "DeviceAddress.h"
#include "TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>

class SimProcess {
public:
    SimProcess() = default;
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;
    ~SimProcess() { Stop(); }

    // Starts the simulator with these options plus --tcp 127.0.0.1 --tcp-port 0 (unless the
    // options name --tcp or --pty themselves). Returns false with Error() when it does not
    // report ready.
    bool Start(QStringList options)
    {
        if (!options.contains(QStringLiteral("--tcp")) && !options.contains(QStringLiteral("--pty")))
            options << QStringLiteral("--tcp") << QStringLiteral("127.0.0.1") << QStringLiteral("--tcp-port") << QStringLiteral("0");
        m_process.setProgram(testsupport::SimulatorPath());
        m_process.setArguments(options);
        m_process.start();
        if (!m_process.waitForStarted(10000)) {
            m_error = QStringLiteral("simulator did not start: ") + m_process.errorString();
            return false;
        }
        QByteArray line;
        while (!line.contains('\n')) {
            if (!m_process.waitForReadyRead(10000)) {
                m_error = QStringLiteral("no ready line; stderr: ") + QString::fromLocal8Bit(m_process.readAllStandardError());
                return false;
            }
            line += m_process.readAllStandardOutput();
        }
        m_ready = QString::fromLatin1(line).trimmed();
        static const QRegularExpression tcp(QStringLiteral("tcp=([0-9.]+):(\\d+)"));
        static const QRegularExpression pty(QStringLiteral("pty=(\\S+)"));
        if (const auto m = tcp.match(m_ready); m.hasMatch()) {
            m_host = m.captured(1);
            m_tcpPort = quint16(m.captured(2).toUInt());
        }
        if (const auto m = pty.match(m_ready); m.hasMatch())
            m_ptyPath = m.captured(1);
        return m_ready.startsWith(QLatin1String("ready"));
    }

    // Starts the simulator as Start does and gives the device address of its TCP listener; on
    // failure the running test fails with the reason and the result is empty.
    std::optional<DeviceAddress> StartForAddress(QStringList options = {})
    {
        if (!Start(std::move(options))) {
            ADD_FAILURE() << m_error.toStdString();
            return std::nullopt;
        }
        QString error;
        std::optional<DeviceAddress> address = DeviceAddress::Parse(TcpDevice(), &error);
        if (!address)
            ADD_FAILURE() << error.toStdString();
        return address;
    }

    // Options for a pseudo-terminal in the temporary folder, in the given framing.
    QStringList WithPty(const QString& framing, QStringList more = {}) const
    {
        more << QStringLiteral("--tcp") << QStringLiteral("127.0.0.1") << QStringLiteral("--tcp-port") << QStringLiteral("0")
             << QStringLiteral("--pty") << m_dir.filePath(QStringLiteral("line")) << QStringLiteral("--framing") << framing;
        return more;
    }

    // Sends SIGTERM (when still running) and waits; returns the exit code (-1 when it had to
    // be killed or crashed).
    int Stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            ::kill(pid_t(m_process.processId()), SIGTERM);
            if (!m_process.waitForFinished(10000)) {
                m_process.kill();
                m_process.waitForFinished(10000);
                m_killed = true;
            }
        }
        if (!m_finished) {
            m_finished = true;
            m_stderr += QString::fromLocal8Bit(m_process.readAllStandardError());
            m_exitCode = m_killed || m_process.exitStatus() != QProcess::NormalExit ? -1 : m_process.exitCode();
        }
        return m_exitCode;
    }

    QString ReadyLine() const { return m_ready; }
    QString Host() const { return m_host; }
    quint16 TcpPort() const { return m_tcpPort; }
    QString TcpDevice() const { return QStringLiteral("tcp:%1:%2").arg(m_host).arg(m_tcpPort); }
    QString PtyPath() const { return m_ptyPath; }
    QString Error() const { return m_error; }
    QString Stderr() const { return m_stderr; }
    QString TempPath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_ready;
    QString m_host;
    quint16 m_tcpPort = 0;
    QString m_ptyPath;
    QString m_error;
    QString m_stderr;
    int m_exitCode = -1;
    bool m_finished = false;
    bool m_killed = false;
};
