// Delayed and paced output of one line (see PacedOutput.h).
#include "PacedOutput.h"

#include <algorithm>

PacedOutput::PacedOutput(int baud, Writer writer, QObject* parent)
    : QObject(parent)
    , m_baud(baud)
    , m_byteNs(baud > 0 ? qint64(10) * 1000000000 / baud : 0)
    , m_writer(std::move(writer))
{
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &PacedOutput::Pump);
}

void PacedOutput::Send(const QByteArray& bytes, int delayMs)
{
    if (bytes.isEmpty())
        return;
    Item item;
    item.bytes = bytes;
    item.dueNs = m_clock.nsecsElapsed() + qint64(delayMs) * 1000000;
    m_queue.push_back(std::move(item));
    Pump();
}

void PacedOutput::Then(std::function<void()> action, int delayMs)
{
    Item item;
    item.action = std::move(action);
    item.dueNs = m_clock.nsecsElapsed() + qint64(delayMs) * 1000000;
    m_queue.push_back(std::move(item));
    Pump();
}

void PacedOutput::Clear()
{
    m_queue.clear();
    m_timer.stop();
}

void PacedOutput::Schedule(qint64 waitNs)
{
    // Rounded up to whole milliseconds, so the timer never fires before the byte is due.
    const int ms = int(std::max<qint64>(0, (waitNs + 999999) / 1000000));
    m_timer.start(ms);
}

void PacedOutput::Pump()
{
    while (!m_queue.empty()) {
        const qint64 now = m_clock.nsecsElapsed();
        Item& item = m_queue.front();
        if (now < item.dueNs) {
            Schedule(item.dueNs - now);
            return;
        }
        if (item.action) {
            // Actions wait until the line has carried what went before them.
            if (now < m_lineFreeNs) {
                Schedule(m_lineFreeNs - now);
                return;
            }
            std::function<void()> action = std::move(item.action);
            m_queue.pop_front();
            action(); // may Clear() the queue
            continue;
        }
        if (m_baud <= 0) {
            const QByteArray bytes = item.bytes;
            m_queue.pop_front();
            m_writer(bytes);
            continue;
        }
        if (item.startNs < 0)
            item.startNs = std::max(item.dueNs, m_lineFreeNs);
        if (now < item.startNs + m_byteNs) {
            Schedule(item.startNs + m_byteNs - now);
            return;
        }
        const qsizetype carried = qsizetype(std::min<qint64>(item.bytes.size(), (now - item.startNs) / m_byteNs));
        if (carried > item.written) {
            m_writer(item.bytes.mid(item.written, carried - item.written));
            item.written = carried;
        }
        if (item.written >= item.bytes.size()) {
            m_lineFreeNs = item.startNs + qint64(item.bytes.size()) * m_byteNs;
            m_queue.pop_front();
            continue;
        }
        Schedule(item.startNs + qint64(item.written + 1) * m_byteNs - now);
        return;
    }
}
