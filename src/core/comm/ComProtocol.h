// A device command protocol over one owned port: frames a command for a unit address, sends
// it, and reads and classifies the reply. One exchange is Send then Receive; nothing retries.
// The outcome of the last exchange is the port's status code (0 accepted, 6 I/O failure,
// 7 time-out, 8 rejected, 9 protocol error). The port is never null.
#pragma once

#include "ComStream.h"

#include <QByteArray>
#include <QByteArrayView>
#include <memory>
#include <optional>

class ComProtocol {
public:
    ComProtocol(std::unique_ptr<ComStream> port, int unitAddress);
    virtual ~ComProtocol();
    ComProtocol(const ComProtocol&) = delete;
    ComProtocol& operator=(const ComProtocol&) = delete;

    // Frames and writes one command. Returns the bytes written, or nullopt on failure (the
    // port's status says why; a port that is not open keeps its status).
    virtual std::optional<QByteArray> Send(QByteArrayView command) = 0;
    // Reads one reply. Returns the status: 0 with the reply text (without start character,
    // address field and end marks) in reply, 8 for a rejection, else 6, 7 or 9 (or the
    // not-open status of a port that could not be opened). reply is changed only on 0.
    virtual int Receive(QByteArray& reply) = 0;

    // The device's communications address, a byte (only the low byte is kept).
    int UnitAddress() const { return m_unitAddress; }
    void SetUnitAddress(int address) { m_unitAddress = address & 0xFF; }

    ComStream& Port() const { return *m_port; }
    int Status() const { return m_port->Status(); }

protected:
    std::unique_ptr<ComStream> m_port;
    int m_unitAddress = 1;
};
