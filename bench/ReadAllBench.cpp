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
#include "UserInterface.h"
#include "ValueFormat.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <csignal>

namespace {

constexpr int kBaud = 38400;

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

// Answers nothing and shows nothing; any message box counts as a failure of the run.
class SilentUserInterface : public UserInterface {
public:
    int messages = 0;
    int MessageBox(const QString&, const QString&, Buttons, Icon) override
    {
        ++messages;
        return Abort;
    }
    void ProgressBegin(const QString&, const QString&, int, int) override {}
    void ProgressSetText(const QString&) override {}
    void ProgressSetPos(int) override {}
    void ProgressStep() override {}
    bool ProgressCancelled() override { return false; }
    void ProgressFinish(const QString&, bool) override {}
    void ProgressEnd() override {}
    void Pump() override {}
    std::optional<QString> ChooseSaveFile(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> ChooseOpenFile(const QString&, const QString&) override { return {}; }
    std::optional<QString> AskAccessCode(const QString&) override { return {}; }
    int ChooseFromList(const QString&, const QStringList&) override { return -1; }
    void SetStatusText(int, const QString&) override {}
    void SetWaitCursor(bool) override {}
};

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
