// Test helper: a port of either kind connected to a scripted peer over a real transport —
// TCP/IP on loopback (receive time-out shortened to 300 ms) or a serial port on a pty
// (38400,N,8,1, whose read time-out is fixed at 2142 ms). The port is destroyed before the
// peer, so the peer's script sees the hang-up and ends.
#pragma once

#include "CommPtyPeer.h"
#include "CommTcpPeer.h"
#include "ComStream.h"
#include "LineSettings.h"
#include "SerialPort.h"
#include "TCPPort.h"

#include <QtGlobal>
#include <memory>

enum class CommTransport { Tcp, Serial };

inline const char* CommTransportName(CommTransport t)
{
    return t == CommTransport::Tcp ? "Tcp" : "Serial";
}

// Without an application object QSerialPort warns that its notifiers need a QThread; the
// blocking calls the ports use do not need them, so that one warning is dropped.
inline void CommQuietNotifierWarning()
{
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message.startsWith(QLatin1String("QSocketNotifier: Can only be used with threads")))
                return;
            if (previous)
                previous(type, context, message);
        });
}

struct CommTestLink {
    static constexpr std::chrono::milliseconds kTcpReceiveWait{300};

    std::unique_ptr<CommScriptedPeer> peer;
    std::unique_ptr<ComStream> port;

    explicit CommTestLink(CommTransport transport, const LineSettings& settings = LineSettings())
    {
        CommQuietNotifierWarning();
        if (transport == CommTransport::Tcp) {
            auto tcp = std::make_unique<CommTcpPeer>();
            port = std::make_unique<TCPPort>(QStringLiteral("127.0.0.1"), tcp->Port(),
                                             std::chrono::milliseconds(2000), kTcpReceiveWait);
            peer = std::move(tcp);
        } else {
            auto pty = std::make_unique<CommPtyPeer>();
            port = std::make_unique<SerialPort>(pty->SlavePath(), settings);
            peer = std::move(pty);
        }
    }
    ~CommTestLink()
    {
        port.reset();
        peer.reset();
    }
};
