// Terminal framing, and the steps both framings share: sending a framed command, finding the
// start character, reading the body and classifying the reply.
#include "TerminalProtocol.h"

#include "CommStatusText.h"
#include "SerialPort.h"
#include "TCPPort.h"

#include <algorithm>
#include <climits>

namespace {

// The number at the start of text, read like atoi: blanks, a sign, digits; no digits is 0.
// Values beyond 32 bits are clamped.
int32_t LeadingNumber(const char* text, int length)
{
    int i = 0;
    while (i < length && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > (long long)INT_MAX + 1)
            value = (long long)INT_MAX + 1;
    }
    if (negative)
        value = -value;
    return int32_t(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

} // namespace

TerminalProtocol::TerminalProtocol(int portNumber, const LineSettings& settings)
    : TerminalProtocol(std::make_unique<SerialPort>(portNumber, settings), 1, ProtocolKind::Terminal)
{
}

TerminalProtocol::TerminalProtocol(const QString& host, quint16 tcpPort, int unitAddress)
    : TerminalProtocol(std::make_unique<TCPPort>(host, tcpPort), unitAddress, ProtocolKind::Terminal)
{
}

TerminalProtocol::TerminalProtocol(std::unique_ptr<ComStream> port, int unitAddress)
    : TerminalProtocol(std::move(port), unitAddress, ProtocolKind::Terminal)
{
}

TerminalProtocol::TerminalProtocol(std::unique_ptr<ComStream> port, int unitAddress, ProtocolKind kind)
    : VandtProtocol(std::move(port), unitAddress)
    , m_kind(kind)
{
    m_frame.reserve(FrameFormat::kSendFrameSize);
    m_reply.resize(1 + FrameFormat::kMaxReplyBody + FrameFormat::kMiniReplyTrailer);
}

int TerminalProtocol::NotOpenStatus() const
{
    const int shown = CommStatusShown(m_port->Status());
    return shown == CommOk ? CommCannotOpen : shown;
}

int TerminalProtocol::Fail(int status)
{
    m_port->SetStatus(status);
    return status;
}

std::optional<QByteArray> TerminalProtocol::SendFramed(QByteArrayView command)
{
    if (!m_port->IsOpen())
        return std::nullopt;
    // Refused before anything goes out: the address must fit its two digits, the command its frame.
    if (!FrameFormat::IsValidUnitAddress(m_unitAddress) || command.size() > FrameFormat::MaxCommandLength(m_kind)) {
        Fail(CommProtocolError);
        return std::nullopt;
    }
    m_port->Purge();
    m_frame.clear();
    m_frame.append(FrameFormat::StartCharacter(m_kind));
    m_frame.append(FrameFormat::AddressField(m_unitAddress));
    m_frame.append(command);
    if (m_kind == ProtocolKind::Terminal)
        m_frame.append(FrameFormat::kCarriageReturn).append(FrameFormat::kLineFeed);
    else
        m_frame.append(FrameFormat::kEtx);
    if (m_port->Write(m_frame.constData(), int(m_frame.size())) != m_frame.size())
        return std::nullopt;
    return m_frame;
}

std::optional<QByteArray> TerminalProtocol::Send(QByteArrayView command)
{
    return SendFramed(command);
}

int TerminalProtocol::Synchronise()
{
    const char start = FrameFormat::StartCharacter(m_kind);
    for (int skipped = 0; skipped <= kMaxSkippedBytes; ++skipped) {
        char c = 0;
        if (m_port->Read(&c, 1, ComStream::kReadCount) <= 0) {
            const int status = m_port->Status();
            return status != CommOk ? status : Fail(CommIoError);
        }
        if (c == start) {
            m_reply[0] = c;
            return CommOk;
        }
    }
    return Fail(CommProtocolError);
}

int TerminalProtocol::ReadBody(int& bodyLength)
{
    const char end = FrameFormat::EndCharacter(m_kind);
    char* body = m_reply.data() + 1;
    // Cleared so that a network port's "end character first" (a count of 0 with the status
    // untouched) can be told from a failure.
    m_port->SetStatus(CommOk);
    int n = m_port->Read(body, FrameFormat::kMaxReplyBody, uint8_t(end));
    if (n <= 0 && m_port->Status() != CommOk)
        return m_port->Status();
    // A serial read counts the end character, a network read does not (it is stored after).
    if (n <= 0 || body[n - 1] != end)
        ++n;
    if (n > FrameFormat::kMaxReplyBody || body[n - 1] != end)
        return Fail(CommProtocolError);
    bodyLength = n;
    return CommOk;
}

int TerminalProtocol::Classify(const char* body, int length, QByteArray& reply)
{
    // The reply text follows the two address characters, which are not compared.
    if (length < FrameFormat::kAddressDigits)
        return Fail(CommProtocolError);
    const char* text = body + FrameFormat::kAddressDigits;
    const int textLength = length - FrameFormat::kAddressDigits;
    if (textLength >= 2 && text[0] == 'N' && text[1] == 'O') {
        m_rejectionNumber = LeadingNumber(text + 2, textLength - 2);
        return Fail(CommRejected);
    }
    reply = QByteArray(text, textLength);
    return Fail(CommOk);
}

int TerminalProtocol::Receive(QByteArray& reply)
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
    const char* body = m_reply.constData() + 1;
    int cr = n - 1;
    while (cr >= 0 && body[cr] != FrameFormat::kCarriageReturn)
        --cr;
    if (cr < 0)
        return Fail(CommProtocolError);
    return Classify(body, cr, reply);
}
