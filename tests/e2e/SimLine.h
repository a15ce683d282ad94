// Test helper: the three ways a host reaches the simulator, each as a real protocol object of
// the core: TCP/IP (Terminal framing) and the pseudo-terminal in either framing.
#pragma once

#include "MakeProtocol.h"
#include "SerialPort.h"
#include "SimProcess.h"
#include "TCPPort.h"

#include <chrono>
#include <memory>
#include <string>

enum class SimLine { Tcp, PtyTerminal, PtyMini };

inline const char* SimLineName(SimLine line)
{
    switch (line) {
    case SimLine::Tcp:
        return "Tcp";
    case SimLine::PtyTerminal:
        return "PtyTerminal";
    case SimLine::PtyMini:
        return "PtyMini";
    }
    return "?";
}

// Simulator options that make the line available (a pseudo-terminal in the line's framing).
inline QStringList SimLineOptions(const SimProcess& sim, SimLine line, QStringList more = {})
{
    if (line == SimLine::Tcp)
        return more;
    return sim.WithPty(line == SimLine::PtyTerminal ? QStringLiteral("terminal") : QStringLiteral("mini"), more);
}

// A protocol to the running simulator. The TCP/IP receive wait is shortened to tcpWait; a
// serial line's wait follows its speed (2142 ms at 38400 baud).
inline std::unique_ptr<VandtProtocol> ConnectSim(const SimProcess& sim, SimLine line, int unit = 1,
                                                 std::chrono::milliseconds tcpWait = std::chrono::milliseconds(1500))
{
    if (line == SimLine::Tcp)
        return MakeProtocol(std::make_unique<TCPPort>(sim.Host(), sim.TcpPort(), std::chrono::milliseconds(5000), tcpWait),
                            ProtocolKind::Terminal, 1);
    const ProtocolKind kind = line == SimLine::PtyTerminal ? ProtocolKind::Terminal : ProtocolKind::Minicomputer;
    return MakeProtocol(std::make_unique<SerialPort>(sim.PtyPath(), LineSettings{}), kind, unit);
}

// One exchange: the status, with the reply text (accepted) or the rejection number in *text.
struct SimExchange {
    int status = -1;
    QByteArray text;
    int rejection = -1;
};

inline SimExchange Exchange(VandtProtocol& protocol, const QByteArray& command)
{
    SimExchange e;
    if (!protocol.Send(command)) {
        e.status = protocol.Status();
        return e;
    }
    e.status = protocol.Receive(e.text);
    if (e.status == 8)
        e.rejection = protocol.RejectionNumber();
    return e;
}
