// The device's TCP/IP command port: listens on one loopback address, takes any number of
// hosts at once, each with its own line (Terminal framing, every frame for this device).
// Port 0 asks for an ephemeral port; ReadyText reports the port actually bound.
#pragma once

#include "SimConnection.h"
#include "SimService.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

class TcpService : public QObject, public SimService {
    Q_OBJECT
public:
    TcpService(const QString& address, quint16 port, const SimLineConfig& line, DeviceState& state,
               CommandHandler& handler, FaultInjector& faults, QObject* parent = nullptr);

    bool Start(QString* error) override;
    QString ReadyText() const override;
    void Stop() override;

private:
    void Accept();

    QString m_address;
    quint16 m_port;
    SimLineConfig m_line;
    DeviceState& m_state;
    CommandHandler& m_handler;
    FaultInjector& m_faults;
    QTcpServer m_server;
};
