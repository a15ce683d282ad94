// Delayed and paced output of one line (see PacedOutput.h).
#include "PacedOutput.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

// How far apart the chunks of a burst go out; the last byte of a burst goes when it is due.
constexpr qint64 kChunkNs = 1000000;

} // namespace

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
    m_timerFd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_timerFd >= 0) {
        m_timerNotifier = std::make_unique<QSocketNotifier>(m_timerFd, QSocketNotifier::Read);
        connect(m_timerNotifier.get(), &QSocketNotifier::activated, this, &PacedOutput::TimerFired);
    }
}

PacedOutput::~PacedOutput()
{
    m_timerNotifier.reset();
    if (m_timerFd >= 0)
        ::close(m_timerFd);
}

void PacedOutput::Send(const QByteArray& bytes, std::chrono::nanoseconds delay)
{
    if (bytes.isEmpty())
        return;
    Item item;
    item.bytes = bytes;
    item.dueNs = m_clock.nsecsElapsed() + qint64(delay.count());
    m_queue.push_back(std::move(item));
    Pump();
}

void PacedOutput::Then(std::function<void()> action, std::chrono::nanoseconds delay)
{
    Item item;
    item.action = std::move(action);
    item.dueNs = m_clock.nsecsElapsed() + qint64(delay.count());
    m_queue.push_back(std::move(item));
    Pump();
}

void PacedOutput::Clear()
{
    m_queue.clear();
    if (m_timerFd >= 0) {
        const itimerspec off{};
        ::timerfd_settime(m_timerFd, 0, &off, nullptr);
    }
    m_timer.stop();
}

void PacedOutput::Schedule(qint64 waitNs)
{
    if (m_timerFd >= 0) {
        // A zero time would disarm the timer: at least one nanosecond.
        const qint64 ns = std::max<qint64>(1, waitNs);
        itimerspec when{};
        when.it_value.tv_sec = time_t(ns / 1000000000);
        when.it_value.tv_nsec = long(ns % 1000000000);
        if (::timerfd_settime(m_timerFd, 0, &when, nullptr) == 0)
            return;
    }
    // Rounded up to whole milliseconds, so the timer never fires before the byte is due.
    const int ms = int(std::max<qint64>(0, (waitNs + 999999) / 1000000));
    m_timer.start(ms);
}

void PacedOutput::TimerFired()
{
    uint64_t expirations = 0;
    while (::read(m_timerFd, &expirations, sizeof expirations) < 0 && errno == EINTR) {
    }
    Pump();
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
        // The next chunk about a millisecond on, but never past the burst's last byte.
        const qint64 nextNs = item.startNs + qint64(item.written + 1) * m_byteNs;
        const qint64 lastNs = item.startNs + qint64(item.bytes.size()) * m_byteNs;
        Schedule(std::min(lastNs, std::max(nextNs, now + kChunkNs)) - now);
        return;
    }
}
