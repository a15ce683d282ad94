// A manual-reset event shared between a transfer thread and its owner: once set it stays set
// until Reset, every waiter wakes, and a wait on a set event returns at once. Used for the
// transfer's cancel and finished signals; safe to use from any thread.
#pragma once

#include <condition_variable>
#include <mutex>

class TransferEvent {
public:
    void Set();
    void Reset();
    bool IsSet() const;
    // Waits until the event is set or the time runs out (a negative time waits without
    // limit); returns whether the event is set.
    bool Wait(int milliseconds = -1) const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_set = false;
};
