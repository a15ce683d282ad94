// Test helper: a scripted device listening on a loopback address; the script runs on the
// first connection accepted.
#pragma once

#include "CommScriptedPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>

class CommTcpPeer : public CommScriptedPeer {
public:
    explicit CommTcpPeer(const char* address = "127.0.0.1", uint16_t port = 0)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        const int one = 1;
        ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        ::inet_pton(AF_INET, address, &a.sin_addr);
        socklen_t len = sizeof a;
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && ::listen(m_listener, 4) == 0
            && ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&a), &len) == 0)
            m_port = ntohs(a.sin_port);
    }
    ~CommTcpPeer() override
    {
        Join();
        if (m_listener >= 0)
            ::close(m_listener);
    }

    bool Listening() const { return m_port != 0; }
    uint16_t Port() const { return m_port; }

protected:
    int AcquireFd() override
    {
        pollfd p{m_listener, POLLIN, 0};
        if (::poll(&p, 1, 5000) != 1)
            return -1;
        return ::accept(m_listener, nullptr, nullptr);
    }

private:
    int m_listener = -1;
    uint16_t m_port = 0;
};
