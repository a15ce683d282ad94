// Exchanges with the device simulator: how many a second over loopback TCP/IP with no reply
// latency, and how long one command takes over the pseudo-terminal when the simulator paces
// its output at 38400 baud, next to the time the bytes need on such a line
// (bytes x 10 / baud, both directions).
#include "FrameFormat.h"
#include "MakeProtocol.h"
#include "SerialPort.h"
#include "TCPPort.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <csignal>

namespace {

// The simulator as a child process, stopped with SIGTERM when the object goes.
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
