// Test helper: the device end of a real transport (a TCP connection or a pty master), read
// and written with plain POSIX calls and a deadline on every read, so a failing test never
// hangs. Records every byte it reads.
#pragma once

#include "FrameFormat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

class CommPeerIo {
public:
    explicit CommPeerIo(int fd) : m_fd(fd) {}
    ~CommPeerIo() { Close(); }
    CommPeerIo(const CommPeerIo&) = delete;
    CommPeerIo& operator=(const CommPeerIo&) = delete;

    bool Write(QByteArrayView bytes)
    {
        qsizetype done = 0;
        while (m_fd >= 0 && done < bytes.size()) {
            ssize_t n = ::send(m_fd, bytes.data() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
            if (n < 0 && errno == ENOTSOCK)
                n = ::write(m_fd, bytes.data() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            done += n;
        }
        return done == bytes.size();
    }

    // Reads up to and including the byte end (or until EOF or the deadline).
    QByteArray ReadUntil(char end, int timeoutMs = 5000)
    {
        QByteArray got;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        char c = 0;
        while (ReadByte(c, deadline)) {
            got.append(c);
            if (c == end)
                break;
        }
        return got;
    }

    QByteArray ReadExactly(int n, int timeoutMs = 5000)
    {
        QByteArray got;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        char c = 0;
        while (got.size() < n && ReadByte(c, deadline))
            got.append(c);
        return got;
    }

    // One command frame as the host sends it.
    QByteArray ReadFrame(ProtocolKind kind)
    {
        if (kind == ProtocolKind::Terminal)
            return ReadUntil(FrameFormat::kLineFeed);
        QByteArray frame = ReadUntil(FrameFormat::kEtx);
        return frame + ReadExactly(3);
    }

    // Waits until the other end goes away (or the deadline), discarding what comes.
    void WaitForHangup(int timeoutMs = 5000)
    {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        char c = 0;
        while (ReadByte(c, deadline)) {
        }
    }

    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    const QByteArray& Received() const { return m_received; }

private:
    using Clock = std::chrono::steady_clock;

    bool ReadByte(char& c, Clock::time_point deadline)
    {
        while (m_fd >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                return false;
            pollfd p{m_fd, POLLIN, 0};
            const int rc = ::poll(&p, 1, int(left));
            if (rc < 0 && errno == EINTR)
                continue;
            if (rc <= 0)
                return false;
            const ssize_t n = ::read(m_fd, &c, 1);
            if (n < 0 && errno == EINTR)
                continue;
            if (n != 1)
                return false;  // EOF, or EIO once the pty's other side has closed
            m_received.append(c);
            return true;
        }
        return false;
    }

    int m_fd = -1;
    QByteArray m_received;
};
