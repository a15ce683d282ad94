// Collecting framed commands and framing replies, device side (see Framer.h).
#include "Framer.h"

Framer::Framer(ProtocolKind kind)
    : m_kind(kind)
{
}

void Framer::Reset()
{
    m_phase = Phase::Idle;
    m_body.clear();
}

Framer::Frame Framer::Finish(uint8_t check) const
{
    Frame f;
    const QByteArray& b = m_body;
    if (b.size() >= FrameFormat::kAddressDigits && b[0] >= '0' && b[0] <= '9' && b[1] >= '0' && b[1] <= '9')
        f.address = (b[0] - '0') * 10 + (b[1] - '0');
    f.command = b.mid(FrameFormat::kAddressDigits);
    if (m_kind == ProtocolKind::Minicomputer) {
        const uint8_t expected = uint8_t(FrameFormat::CheckByte(b) ^ uint8_t(FrameFormat::kEtx));
        f.checkOk = expected == check;
    }
    return f;
}

std::vector<Framer::Frame> Framer::Feed(QByteArrayView bytes)
{
    std::vector<Frame> frames;
    const char start = FrameFormat::StartCharacter(m_kind);
    // Everything between the start character and the end, address field included, must fit
    // one send frame.
    const qsizetype limit = FrameFormat::kSendFrameSize;
    for (const char c : bytes) {
        switch (m_phase) {
        case Phase::Idle:
            if (c == start) {
                m_body.clear();
                m_phase = Phase::Body;
            }
            break;
        case Phase::Body:
            if (c == start) {
                m_body.clear();
            } else if (m_kind == ProtocolKind::Terminal && (c == FrameFormat::kCarriageReturn || c == FrameFormat::kLineFeed)) {
                frames.push_back(Finish(0));
                Reset();
            } else if (m_kind == ProtocolKind::Minicomputer && c == FrameFormat::kEtx) {
                m_phase = Phase::Check;
            } else if (m_body.size() >= limit) {
                Reset();
            } else {
                m_body.append(c);
            }
            break;
        case Phase::Check:
            frames.push_back(Finish(uint8_t(c)));
            Reset();
            break;
        }
    }
    return frames;
}

QByteArray Framer::EncodeReply(int address, QByteArrayView text) const
{
    if (m_kind == ProtocolKind::Terminal)
        return FrameFormat::EncodeTerminal(address, text);
    return FrameFormat::EncodeMiniReply(address, text);
}
