// The output side of one simulated line: bytes and actions queued in order, each not before
// its due time (the reply latency), and bytes paced at the line speed when a baud rate is set
// (10 bits a character: byte k of a burst leaves (k + 1) x 10 / baud seconds after the burst
// starts, so a reply never arrives sooner than the wire would carry it).
// Waits are timed to the microsecond with a kernel timer (timerfd) where there is one: a
// millisecond timer would add up to a millisecond per burst, more than a short reply's own
// time on the line at the higher speeds. Bytes in the middle of a burst go out in chunks about
// a millisecond apart, the last one when it is due.
// Invariant: items leave strictly in queue order; an action (such as a disconnect) runs only
// after every byte queued before it has been written.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>

class PacedOutput : public QObject {
    Q_OBJECT
public:
    using Writer = std::function<void(const QByteArray&)>;

    PacedOutput(int baud, Writer writer, QObject* parent = nullptr);
    ~PacedOutput() override;

    // Queues bytes to go out delay from now (or later, behind what is queued).
    void Send(const QByteArray& bytes, std::chrono::nanoseconds delay);
    // Queues an action to run delay from now, after everything queued before it.
    void Then(std::function<void()> action, std::chrono::nanoseconds delay);
    // Forgets everything queued (the line went away).
    void Clear();
    bool Idle() const { return m_queue.empty(); }

private:
    struct Item {
        QByteArray bytes;
        std::function<void()> action;
        qint64 dueNs = 0;
        qint64 startNs = -1;   // when the first byte began, once the item is being sent
        qsizetype written = 0;
    };

    void Pump();
    void Schedule(qint64 waitNs);
    void TimerFired();

    int m_baud;
    qint64 m_byteNs;
    Writer m_writer;
    std::deque<Item> m_queue;
    qint64 m_lineFreeNs = 0; // when the line has carried every byte written so far
    QElapsedTimer m_clock;
    QTimer m_timer;        // in whole milliseconds, when the kernel timer cannot be used
    int m_timerFd = -1;
    std::unique_ptr<QSocketNotifier> m_timerNotifier;
};
