// One line's exchanges (see SimConnection.h).
#include "SimConnection.h"

#include <algorithm>
#include <cstdio>

namespace {

// Printable form of bytes for the log.
QString Printable(const QByteArray& bytes)
{
    QString out;
    for (const char c : bytes) {
        const uint8_t u = uint8_t(c);
        if (u >= 0x20 && u < 0x7F)
            out += QLatin1Char(c);
        else
            out += QStringLiteral("<%1>").arg(u, 2, 16, QLatin1Char('0'));
    }
    return out;
}

} // namespace

SimConnection::SimConnection(const SimLineConfig& config, DeviceState& state, CommandHandler& handler,
                             FaultInjector& faults, Writer writer, Disconnector disconnector, QObject* parent)
    : QObject(parent)
    , m_config(config)
    , m_state(state)
    , m_handler(handler)
    , m_faults(faults)
    , m_framer(config.framing)
    , m_output(config.baud, std::move(writer), this)
    , m_disconnector(std::move(disconnector))
{
    m_clock.start();
}

void SimConnection::Log(const QString& text) const
{
    if (!m_config.verbose)
        return;
    std::fprintf(stderr, "quarrant-devsim: %s: %s\n", qPrintable(m_config.name), qPrintable(text));
    std::fflush(stderr);
}

void SimConnection::Reset()
{
    m_framer.Reset();
    m_output.Clear();
}

void SimConnection::Received(QByteArrayView bytes)
{
    if (m_config.baud > 0) {
        const qint64 byteNs = qint64(10) * 1000000000 / m_config.baud;
        m_inputBusyNs = std::max(m_inputBusyNs, m_clock.nsecsElapsed()) + bytes.size() * byteNs;
    }
    for (const Framer::Frame& frame : m_framer.Feed(bytes))
        Exchange(frame);
}

std::chrono::nanoseconds SimConnection::ReplyDelay() const
{
    const qint64 pendingNs = std::max<qint64>(0, m_inputBusyNs - m_clock.nsecsElapsed());
    return std::chrono::milliseconds(m_config.latencyMs) + std::chrono::nanoseconds(pendingNs);
}

void SimConnection::Exchange(const Framer::Frame& frame)
{
    if (!frame.checkOk) {
        Log(QStringLiteral("ignored frame with a bad check byte: %1").arg(Printable(frame.command)));
        return;
    }
    if (m_config.checkAddress && frame.address != m_state.UnitAddress()) {
        Log(QStringLiteral("ignored frame for unit %1: %2").arg(frame.address).arg(Printable(frame.command)));
        return;
    }
    const SimReply reply = m_handler.Handle(frame.command);
    if (reply.silent) {
        Log(QStringLiteral("%1 -> (no answer)").arg(Printable(frame.command)));
        return;
    }
    const QByteArray framed = m_framer.EncodeReply(m_state.UnitAddress(), reply.text);
    const FaultInjector::Outcome outcome = m_faults.Apply(framed, m_config.framing);
    Log(QStringLiteral("%1 -> %2%3")
            .arg(Printable(frame.command), Printable(reply.text),
                 outcome.applied.isEmpty() ? QString() : QStringLiteral("  [fault: %1]").arg(outcome.applied.join(QStringLiteral(", ")))));
    const std::chrono::nanoseconds delay = ReplyDelay();
    if (outcome.disconnect) {
        m_output.Then(m_disconnector, delay);
        return;
    }
    m_output.Send(outcome.bytes, delay);
    // A report follows its reply only when the reply itself reached the host whole (noise in
    // front of it does not count).
    const bool whole = !outcome.bytes.isEmpty() && outcome.applied.count(QStringLiteral("noise")) == outcome.applied.size();
    if (!reply.trailer.isEmpty() && whole)
        m_output.Send(reply.trailer, delay);
}
