// Minicomputer framing: the check byte after ETX, sent and verified.
#include "MiniProtocol.h"

#include "CommStatusText.h"
#include "SerialPort.h"

MiniProtocol::MiniProtocol(int portNumber, const LineSettings& settings)
    : TerminalProtocol(std::make_unique<SerialPort>(portNumber, settings), 1, ProtocolKind::Minicomputer)
{
}

MiniProtocol::MiniProtocol(std::unique_ptr<ComStream> port, int unitAddress)
    : TerminalProtocol(std::move(port), unitAddress, ProtocolKind::Minicomputer)
{
}

std::optional<QByteArray> MiniProtocol::Send(QByteArrayView command)
{
    std::optional<QByteArray> frame = SendFramed(command);
    if (!frame)
        return std::nullopt;
    // The check byte covers everything after STX: address digits, command and ETX.
    const char trailer[3] = {char(FrameFormat::CheckByte(frame->constData() + 1, frame->size() - 1)),
                             FrameFormat::kMiniPad, FrameFormat::kMiniNul};
    if (m_port->Write(trailer, 3) != 3)
        return std::nullopt;
    m_frame.append(trailer, 3);
    return m_frame;
}

int MiniProtocol::Receive(QByteArray& reply)
{
    if (!m_port->IsOpen())
        return NotOpenStatus();
    int rc = Synchronise();
    if (rc != CommOk)
        return rc;
    int n = 0;
    rc = ReadBody(n);
    if (rc != CommOk)
        return rc;
    char* body = m_reply.data() + 1;
    char* trailer = body + n;
    if (m_port->Read(trailer, FrameFormat::kMiniReplyTrailer, ComStream::kReadCount) <= 0) {
        const int status = m_port->Status();
        return status != CommOk ? status : Fail(CommIoError);
    }
    if (FrameFormat::CheckByte(body, n) != uint8_t(trailer[0]))
        return Fail(CommProtocolError);
    if (n >= FrameFormat::kMaxReplyBody)
        return Fail(CommProtocolError);
    return Classify(body, n - 1, reply);
}
