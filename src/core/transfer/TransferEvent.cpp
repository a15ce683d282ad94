// Manual-reset event on a mutex and a condition variable.
#include "TransferEvent.h"

#include <chrono>

void TransferEvent::Set()
{
    {
        std::lock_guard lock(m_mutex);
        m_set = true;
    }
    m_changed.notify_all();
}

void TransferEvent::Reset()
{
    std::lock_guard lock(m_mutex);
    m_set = false;
}

bool TransferEvent::IsSet() const
{
    std::lock_guard lock(m_mutex);
    return m_set;
}

bool TransferEvent::Wait(int milliseconds) const
{
    std::unique_lock lock(m_mutex);
    if (milliseconds < 0) {
        m_changed.wait(lock, [this] { return m_set; });
        return true;
    }
    return m_changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return m_set; });
}
