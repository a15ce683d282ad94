// One host's line to the simulated device: received bytes are framed into commands, each
// command addressed to this device is one exchange (command handler, then fault injection),
// and the framed reply goes out through the line's paced output after the reply latency.
// Frames for another unit address are ignored on a serial line (a multi-drop line carries
// every unit's traffic); over TCP/IP every frame is for this device. Frames whose check byte
// is wrong are ignored, as a device cannot trust them.
// With a baud rate, incoming bytes are taken to occupy the line as long as the wire needs for
// them, and a reply never starts before its command could have arrived whole.
// The transport (a TCP socket, the pseudo-terminal) supplies the writer and the disconnect.
#pragma once

#include "CommandHandler.h"
#include "FaultInjector.h"
#include "Framer.h"
#include "PacedOutput.h"
#include "SimLineConfig.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>


class SimConnection : public QObject {
    Q_OBJECT
public:
    using Writer = std::function<void(const QByteArray&)>;
    using Disconnector = std::function<void()>;

    SimConnection(const SimLineConfig& config, DeviceState& state, CommandHandler& handler, FaultInjector& faults,
                  Writer writer, Disconnector disconnector, QObject* parent = nullptr);

    // Bytes that arrived from the host.
    void Received(QByteArrayView bytes);
    // The line went away: forget partial frames and queued output.
    void Reset();

private:
    void Exchange(const Framer::Frame& frame);
    void Log(const QString& text) const;
    // The reply latency plus the time the command still needs on the line.
    std::chrono::nanoseconds ReplyDelay() const;

    SimLineConfig m_config;
    DeviceState& m_state;
    CommandHandler& m_handler;
    FaultInjector& m_faults;
    Framer m_framer;
    PacedOutput m_output;
    Disconnector m_disconnector;
    QElapsedTimer m_clock;
    qint64 m_inputBusyNs = 0; // when the line has carried every byte received so far
};
