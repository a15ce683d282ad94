// Read All (one "PV" per program code, "XV" where a level is kept) against the device
// simulator: over loopback TCP/IP with no reply latency, reported as exchanges per second, and
// over the pseudo-terminal with the simulator pacing at 38400 baud, next to the time the
// bytes of the whole walk need on such a line (bytes x 10 / baud, both directions).
#include "CquillTrakDoc.h"
#include "DeviceConnection.h"
#include "FrameFormat.h"
#include "MakeProtocol.h"
#include "ProgramCodeTransfer.h"
#include "Section.h"
#include "SerialPort.h"
#include "TCPPort.h"
#include "../tests/support/SilentUserInterface.h"
#include "ValueFormat.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "Simulator.h"

namespace {

constexpr int kBaud = 38400;

// The command and reply texts of one Read All of a document that holds what was read, in
// order: the contact, then "PV" and, where a level is kept, "XV" per program code.
std::vector<std::pair<QByteArray, QByteArray>> Exchanges(const CquillTrakDoc& doc)
{
    std::vector<std::pair<QByteArray, QByteArray>> out;
    const QByteArray identify = "PV SY 111";
    out.emplace_back(identify, identify + ' ' + FormatValue(*doc.Sections().Find(5, 111), doc.Image()).toLatin1());
    for (const DBParam* p = doc.Sections().Chain(); p; p = p->next) {
        const QByteArray address = QStringLiteral("%1 %2").arg(CommandDirectory(p->section, p->instance)).arg(p->number, 3, 10, QLatin1Char('0')).toLatin1();
        out.emplace_back("PV " + address, "PV " + address + ' ' + FormatValue(*p, doc.Image()).toLatin1());
        if (p->def->HasSecurityLevel() && p->instance <= 1)
            out.emplace_back("XV " + address, "XV " + address + ' ' + QByteArray::number(doc.GetSecurityLevel(*p)));
    }
    return out;
}

bool RunReadAll(benchmark::State& state, DeviceConnection& connection, SilentUserInterface& ui)
{
    ProgramCodeTransfer transfer(connection);
    if (transfer.ReadAll() != ProgramCodeTransfer::Outcome::Completed || ui.messages != 0) {
        state.SkipWithError("Read All did not complete");
        return false;
    }
    return true;
}

void BM_ReadAllTcp(benchmark::State& state)
{
    Simulator sim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1"), QStringLiteral("--tcp-port"), QStringLiteral("0")});
    if (!sim.Ready()) {
        state.SkipWithError("simulator not ready");
        return;
    }
    SilentUserInterface ui;
    ui.answer = UserInterface::Abort; // any message box fails the run; do not let it retry
    CquillTrakDoc doc;
    DeviceConnection connection(doc, ui);
    const quint16 port = sim.TcpPort();
    connection.SetLinkFactory([port](const CquillTrakDoc&) {
        return MakeProtocol(std::make_unique<TCPPort>(QStringLiteral("127.0.0.1"), port), ProtocolKind::Terminal, 1);
    });
    doc.OnNewDocument();
    for (auto _ : state) {
        if (!RunReadAll(state, connection, ui))
            return;
    }
    const double exchanges = double(Exchanges(doc).size());
    state.counters["exchanges"] = exchanges;
    state.counters["exchanges_per_s"] = benchmark::Counter(exchanges * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadAllTcp)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadAllPty38400(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("line"));
    Simulator sim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1"), QStringLiteral("--tcp-port"), QStringLiteral("0"),
                   QStringLiteral("--pty"), link, QStringLiteral("--framing"), QStringLiteral("mini"),
                   QStringLiteral("--baud"), QString::number(kBaud)});
    if (!sim.Ready()) {
        state.SkipWithError("simulator not ready");
        return;
    }
    SilentUserInterface ui;
    ui.answer = UserInterface::Abort; // any message box fails the run; do not let it retry
    CquillTrakDoc doc;
    DeviceConnection connection(doc, ui);
    connection.SetLinkFactory([link](const CquillTrakDoc&) {
        LineSettings settings;
        settings.baudRate = kBaud;
        return MakeProtocol(std::make_unique<SerialPort>(link, settings), ProtocolKind::Minicomputer, 1);
    });
    doc.OnNewDocument();
    for (auto _ : state) {
        if (!RunReadAll(state, connection, ui))
            return;
    }
    qsizetype bytes = 0;
    for (const auto& [command, reply] : Exchanges(doc))
        bytes += FrameFormat::EncodeMiniCommand(1, command).size() + FrameFormat::EncodeMiniReply(1, reply).size();
    state.counters["bytes"] = double(bytes);
    state.counters["wire_limit_ms"] = double(bytes) * 10.0 * 1000.0 / kBaud;
    state.SetLabel(QStringLiteral("Read All, Minicomputer framing at %1 baud").arg(kBaud).toStdString());
}
BENCHMARK(BM_ReadAllPty38400)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace
