// The device's serial port, as a pseudo-terminal: the simulator holds the master side and the
// path the user gave becomes a symbolic link to the slave side, which hosts open like any
// serial device. The line is raw (no echo, no line editing, 8 bits). The simulator keeps the
// slave side open itself, so the line stays up while no host has it open.
// A disconnect fault tears the pair down and makes a new one under the same path, as when a
// cable is pulled and plugged in again: the host's open descriptor fails and it must reopen.
// Invariant: while the service runs, the path is a link to the current slave side; Stop
// removes the link (and only a link: an existing non-link file at the path is refused).
#pragma once

#include "SimConnection.h"
#include "SimService.h"

#include <QObject>
#include <QSocketNotifier>
#include <memory>

class PtyService : public QObject, public SimService {
    Q_OBJECT
public:
    PtyService(const QString& linkPath, const SimLineConfig& line, DeviceState& state, CommandHandler& handler,
               FaultInjector& faults, QObject* parent = nullptr);
    ~PtyService() override;

    bool Start(QString* error) override;
    QString ReadyText() const override;
    void Stop() override;

    // The slave device the link points at now.
    QString SlavePath() const { return m_slavePath; }

private:
    bool Open(QString* error);
    void Close();
    void ReadMaster();
    void Write(const QByteArray& bytes);
    void Reconnect();

    QString m_linkPath;
    SimLineConfig m_line;
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    std::unique_ptr<QSocketNotifier> m_notifier;
    SimConnection* m_connection = nullptr;
    bool m_started = false;
};
