// The device simulator as a child process for the benchmarks: started with the given options,
// ready once it printed its "ready" line, stopped with SIGTERM when the object goes.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <csignal>

class Simulator {
public:
    explicit Simulator(const QStringList& options)
    {
        m_process.start(QStringLiteral(QUARRANT_SIM_PATH), options);
        QByteArray line;
        while (!line.contains('\n') && m_process.waitForReadyRead(10000))
            line += m_process.readAllStandardOutput();
        m_ready = QString::fromLatin1(line);
    }
    ~Simulator()
    {
        ::kill(pid_t(m_process.processId()), SIGTERM);
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished(10000);
    }
    quint16 TcpPort() const
    {
        static const QRegularExpression tcp(QStringLiteral("tcp=[0-9.]+:(\\d+)"));
        return quint16(tcp.match(m_ready).captured(1).toUInt());
    }
    bool Ready() const { return m_ready.startsWith(QLatin1String("ready")); }

private:
    QProcess m_process;
    QString m_ready;
};
