// Fuzz target: both reply framings (Terminal and Minicomputer) read from arbitrary bytes. The
// first input byte picks the framing and whether the stream reads by serial or by TCP/IP
// rules; the rest is what the device "sends". Receive is called until the bytes run out, and
// every outcome must be one of the protocol's status codes with a reply that fits its area.
#include "CommStatusText.h"
#include "ComStream.h"
#include "FrameFormat.h"
#include "MakeProtocol.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// A port whose input is a fixed block of bytes; running out of bytes reads as a time-out.
class ByteSourceStream : public ComStream {
public:
    ByteSourceStream(const uint8_t* data, size_t size, bool networkRules)
        : m_data(data), m_size(size), m_network(networkRules)
    {
        m_open = 1;
    }

    int Write(const char* data, int length) override { return length ? length : int(std::strlen(data)); }

    int Read(char* buffer, int length, int terminator) override
    {
        if (length < 1) {
            m_status = CommProtocolError;
            return 0;
        }
        if (terminator < 0) {
            // Serial reads exactly length bytes; a network receive takes what is there.
            const size_t want = size_t(length);
            if (m_pos >= m_size || (!m_network && m_size - m_pos < want)) {
                m_pos = m_size;
                m_status = CommTimeout;
                return 0;
            }
            const size_t n = m_network ? std::min(want, m_size - m_pos) : want;
            std::memcpy(buffer, m_data + m_pos, n);
            m_pos += n;
            if (!m_network)
                m_status = CommOk;
            return int(n);
        }
        for (int i = 0;;) {
            if (m_pos >= m_size) {
                m_status = CommTimeout;
                return 0;
            }
            buffer[i] = char(m_data[m_pos++]);
            if (uint8_t(buffer[i]) == uint8_t(terminator)) {
                if (m_network)
                    return i;
                m_status = CommOk;
                return i + 1;
            }
            if (++i == length) {
                m_status = CommProtocolError;
                return 0;
            }
        }
    }

    void Flush() override {}
    void Purge() override {}
    QString StatusText(int) const override { return QStringLiteral("fuzz"); }
    bool IsNetwork() const override { return m_network; }
    bool Exhausted() const { return m_pos >= m_size; }

protected:
    QString PortLabel() const override { return QStringLiteral("0"); }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_network;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const ProtocolKind kind = data[0] & 1 ? ProtocolKind::Minicomputer : ProtocolKind::Terminal;
    auto owned = std::make_unique<ByteSourceStream>(data + 1, size - 1, (data[0] & 2) != 0);
    ByteSourceStream* stream = owned.get();
    std::unique_ptr<VandtProtocol> protocol = MakeProtocol(std::move(owned), kind, 1);

    for (int exchange = 0; exchange < 1000 && !stream->Exhausted(); ++exchange) {
        QByteArray reply;
        const int rc = protocol->Receive(reply);
        if (rc != CommOk && rc != CommIoError && rc != CommTimeout && rc != CommRejected && rc != CommProtocolError)
            std::abort();
        if (protocol->Status() != rc)
            std::abort();
        if (rc == CommOk && reply.size() >= FrameFormat::kMaxReplyBody)
            std::abort();
        if (rc != CommOk && !reply.isEmpty())
            std::abort();
        (void)protocol->RejectionText();
    }
    return 0;
}
