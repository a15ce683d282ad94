// The Minicomputer framing: STX AA command ETX, then the check byte (exclusive OR of every
// byte after STX up to ETX), 0x7F and 0x00. A reply is STX AA text ETX, its check byte and
// one more byte; a wrong check byte is a protocol error (9).
#pragma once

#include "TerminalProtocol.h"

class MiniProtocol : public TerminalProtocol {
public:
    // A serial line: port number and line settings; unit address 1.
    MiniProtocol(int portNumber, const LineSettings& settings);
    // Any port.
    explicit MiniProtocol(std::unique_ptr<ComStream> port, int unitAddress = 1);

    std::optional<QByteArray> Send(QByteArrayView command) override;
    int Receive(QByteArray& reply) override;
};
