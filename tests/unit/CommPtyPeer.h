// Test helper: a scripted device on the master side of a raw pseudo-terminal; the port under
// test opens SlavePath(). The peer holds the slave open until Start(), so the master never
// sees a hang-up before the port is there; after that the master hangs up when the port closes.
#pragma once

#include "CommScriptedPeer.h"

#include <QString>
#include <pty.h>
#include <termios.h>

class CommPtyPeer : public CommScriptedPeer {
public:
    CommPtyPeer()
    {
        char name[256] = {};
        if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
            m_master = m_slave = -1;
            return;
        }
        termios t{};
        ::tcgetattr(m_slave, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(m_slave, TCSANOW, &t);
        m_path = QString::fromLocal8Bit(name);
    }
    ~CommPtyPeer() override
    {
        Join();
        CloseFd(m_slave);
        CloseFd(m_master);
    }

    bool IsOpen() const { return !m_path.isEmpty(); }
    QString SlavePath() const { return m_path; }

protected:
    int AcquireFd() override
    {
        CloseFd(m_slave);
        const int fd = m_master;
        m_master = -1;
        return fd;
    }

private:
    static void CloseFd(int& fd)
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }

    int m_master = -1;
    int m_slave = -1;
    QString m_path;
};
