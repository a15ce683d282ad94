// Test helper: a scripted device on the far end of a real transport, run in its own thread.
// Start() runs the script once the transport is up; Join() waits for it and returns every
// byte the peer read. Subclasses provide the transport and must Join() in their destructor.
#pragma once

#include "CommPeerIo.h"

#include <functional>
#include <thread>

class CommScriptedPeer {
public:
    using Script = std::function<void(CommPeerIo&)>;

    virtual ~CommScriptedPeer() = default;

    void Start(Script script)
    {
        m_thread = std::thread([this, script = std::move(script)] {
            const int fd = AcquireFd();
            if (fd < 0)
                return;
            CommPeerIo io(fd);
            script(io);
            m_received = io.Received();
        });
    }

    QByteArray Join()
    {
        if (m_thread.joinable())
            m_thread.join();
        return m_received;
    }

protected:
    // The device end of the transport, owned by the caller from then on; -1 on failure.
    virtual int AcquireFd() = 0;

private:
    std::thread m_thread;
    QByteArray m_received;
};
