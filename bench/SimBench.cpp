// Exchanges with the device simulator: how many a second over loopback TCP/IP with no reply
// latency, and how long one command takes over the pseudo-terminal when the simulator paces
// its output at 38400 baud, next to the time the bytes need on such a line
// (bytes x 10 / baud, both directions).
#include "FrameFormat.h"
#include "MakeProtocol.h"
#include "SerialPort.h"
#include "TCPPort.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "Simulator.h"

namespace {

void BM_TcpExchanges(benchmark::State& state)
{
    Simulator sim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1"), QStringLiteral("--tcp-port"), QStringLiteral("0")});
    if (!sim.Ready()) {
        state.SkipWithError("simulator not ready");
        return;
    }
    auto protocol = MakeProtocol(std::make_unique<TCPPort>(QStringLiteral("127.0.0.1"), sim.TcpPort()),
                                 ProtocolKind::Terminal, 1);
    QByteArray reply;
    for (auto _ : state) {
        if (!protocol->Send("PV SY 111") || protocol->Receive(reply) != 0) {
            state.SkipWithError("exchange failed");
            break;
        }
        benchmark::DoNotOptimize(reply);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TcpExchanges)->Unit(benchmark::kMicrosecond);

// One command over the pseudo-terminal at 38400 baud, Minicomputer framing; the argument picks
// a short reply ("EQ") or a long one ("TR 5", a whole transaction record).
void BM_PacedSerialCommand(benchmark::State& state)
{
    constexpr int kBaud = 38400;
    const QByteArray command = state.range(0) == 0 ? QByteArray("EQ") : QByteArray("TR 5");
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("line"));
    Simulator sim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1"), QStringLiteral("--tcp-port"), QStringLiteral("0"),
                   QStringLiteral("--pty"), link, QStringLiteral("--framing"), QStringLiteral("mini"),
                   QStringLiteral("--baud"), QString::number(kBaud)});
    if (!sim.Ready()) {
        state.SkipWithError("simulator not ready");
        return;
    }
    LineSettings settings;
    settings.baudRate = kBaud;
    auto protocol = MakeProtocol(std::make_unique<SerialPort>(link, settings), ProtocolKind::Minicomputer, 1);
    QByteArray reply;
    for (auto _ : state) {
        if (!protocol->Send(command) || protocol->Receive(reply) != 0) {
            state.SkipWithError("exchange failed");
            break;
        }
    }
    // Bytes on the line: the command frame (with its three trailing bytes) and the reply frame.
    const qsizetype bytes = FrameFormat::EncodeMiniCommand(1, command).size() + FrameFormat::EncodeMiniReply(1, reply).size();
    state.counters["bytes"] = double(bytes);
    state.counters["wire_limit_ms"] = double(bytes) * 10.0 * 1000.0 / kBaud;
    state.SetLabel(QStringLiteral("%1 at %2 baud").arg(QString::fromLatin1(command)).arg(kBaud).toStdString());
}
BENCHMARK(BM_PacedSerialCommand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
