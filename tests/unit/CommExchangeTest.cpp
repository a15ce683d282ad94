// One command exchange through each framing over real transports (TCP/IP on loopback and a
// serial port on a pty): the exact bytes sent, and how each reply is classified.
#include "CommStatusText.h"
#include "CommTestLink.h"
#include "MakeProtocol.h"
#include "VandtProtocol.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// A literal with embedded NULs, without its terminating zero.
template <size_t N>
QByteArray Bytes(const char (&data)[N])
{
    return QByteArray(data, N - 1);
}

// A Minicomputer reply whose check byte is flipped.
QByteArray WithBadCheck(QByteArray reply)
{
    reply[reply.size() - 2] = char(reply.at(reply.size() - 2) ^ 0x55);
    return reply;
}

struct ExchangeCase {
    const char* name;
    ProtocolKind kind;
    int address;
    QByteArray command;
    QByteArray frame;   // what the device must receive
    QByteArray reply;   // what the device answers
    int status;
    QByteArray text;    // the reply text on status 0
    int32_t rejection;  // RejectionNumber on status 8
};

const ProtocolKind T = ProtocolKind::Terminal;
const ProtocolKind M = ProtocolKind::Minicomputer;

const ExchangeCase kCases[] = {
    {"TerminalValue", T, 1, "PV SY 111", "*01PV SY 111\r\n", "*01 123.45\r\n", CommOk, " 123.45", 0},
    {"TerminalRejection", T, 1, "PV SY 111", "*01PV SY 111\r\n", "*01NO05\r\n", CommRejected, "", 5},
    {"TerminalRejectionWithoutDigits", T, 1, "EQ", "*01EQ\r\n", "*01NO\r\n", CommRejected, "", 0},
    {"TerminalNoiseSkipped", T, 1, "EQ", "*01EQ\r\n", Bytes("\r\n01NO\0junk*01 A\r\n"), CommOk, " A", 0},
    {"TerminalAddressDigitsNotCompared", T, 7, "EQ", "*07EQ\r\n", "*42 OK\r\n", CommOk, " OK", 0},
    {"TerminalLastCarriageReturnEndsText", T, 1, "EQ", "*01EQ\r\n", "*01 A\rB\r\n", CommOk, " A\rB", 0},
    {"TerminalWithoutCarriageReturn", T, 1, "EQ", "*01EQ\r\n", "*01 A\n", CommProtocolError, "", 0},
    {"TerminalShorterThanAddress", T, 1, "EQ", "*01EQ\r\n", "*0\r\n", CommProtocolError, "", 0},
    {"TerminalEndCharacterFirst", T, 1, "EQ", "*01EQ\r\n", "*\n", CommProtocolError, "", 0},
    {"TerminalBodyTooLong", T, 1, "EQ", "*01EQ\r\n", "*" + QByteArray(4096, 'A') + "\r\n", CommProtocolError, "", 0},
    {"MiniExampleFrame", M, 1, "EQ", Bytes("\x02" "01EQ\x03\x16\x7f\x00"), FrameFormat::EncodeMiniReply(1, " 12"),
     CommOk, " 12", 0},
    {"MiniRejection", M, 3, "PV SY 111", FrameFormat::EncodeMiniCommand(3, "PV SY 111"),
     FrameFormat::EncodeMiniReply(3, "NO94"), CommRejected, "", 94},
    {"MiniBadCheckByte", M, 1, "EQ", FrameFormat::EncodeMiniCommand(1, "EQ"),
     WithBadCheck(FrameFormat::EncodeMiniReply(1, " 12")), CommProtocolError, "", 0},
    {"MiniNoiseSkipped", M, 1, "EQ", FrameFormat::EncodeMiniCommand(1, "EQ"),
     "**\x03junk" + FrameFormat::EncodeMiniReply(1, " 7"), CommOk, " 7", 0},
    {"MiniShorterThanAddress", M, 1, "EQ", FrameFormat::EncodeMiniCommand(1, "EQ"), "\x02\x03\x03\x7f",
     CommProtocolError, "", 0},
    {"MiniBodyTooLong", M, 1, "EQ", FrameFormat::EncodeMiniCommand(1, "EQ"),
     FrameFormat::EncodeMiniReply(1, QByteArray(4093, 'A')), CommProtocolError, "", 0},
};

class CommExchangeTest : public testing::TestWithParam<std::tuple<CommTransport, ExchangeCase>> {};

TEST_P(CommExchangeTest, FramesCommandAndClassifiesReply)
{
    const auto& [transport, c] = GetParam();
    CommTestLink link(transport);
    ASSERT_TRUE(link.port->IsOpen());
    std::unique_ptr<VandtProtocol> protocol = MakeProtocol(std::move(link.port), c.kind, c.address);
    const QByteArray reply = c.reply;
    link.peer->Start([kind = c.kind, reply](CommPeerIo& io) {
        io.ReadFrame(kind);
        io.Write(reply);
        io.WaitForHangup();
    });

    const std::optional<QByteArray> sent = protocol->Send(c.command);
    ASSERT_TRUE(sent.has_value());
    EXPECT_EQ(*sent, c.frame);
    QByteArray text = "untouched";
    EXPECT_EQ(protocol->Receive(text), c.status);
    EXPECT_EQ(protocol->Status(), c.status);
    EXPECT_EQ(text, c.status == CommOk ? c.text : QByteArray("untouched"));
    if (c.status == CommRejected) {
        EXPECT_EQ(protocol->RejectionNumber(), c.rejection);
    }

    protocol.reset();
    EXPECT_EQ(link.peer->Join(), c.frame);
}

INSTANTIATE_TEST_SUITE_P(Comm, CommExchangeTest,
                         testing::Combine(testing::Values(CommTransport::Tcp, CommTransport::Serial),
                                          testing::ValuesIn(kCases)),
                         [](const auto& info) {
                             return std::string(CommTransportName(std::get<0>(info.param))) + "_"
                                 + std::get<1>(info.param).name;
                         });

// Exchanges that need more than one reply, a misbehaving peer or a refused command, run over
// both transports.
class CommExchangeFailureTest : public testing::TestWithParam<CommTransport> {};

TEST_P(CommExchangeFailureTest, LateReplyLeftInInputIsDiscardedBeforeNextCommand)
{
    CommTestLink link(GetParam());
    auto protocol = MakeProtocol(std::move(link.port), ProtocolKind::Terminal, 1);
    link.peer->Start([](CommPeerIo& io) {
        io.ReadFrame(ProtocolKind::Terminal);
        io.Write("*01 ONE\r\n*01 STALE\r\n");
        io.ReadFrame(ProtocolKind::Terminal);
        io.Write("*01 TWO\r\n");
        io.WaitForHangup();
    });
    QByteArray text;
    ASSERT_TRUE(protocol->Send("A"));
    ASSERT_EQ(protocol->Receive(text), CommOk);
    EXPECT_EQ(text, " ONE");
    ASSERT_TRUE(protocol->Send("B"));
    ASSERT_EQ(protocol->Receive(text), CommOk);
    EXPECT_EQ(text, " TWO");
}

TEST_P(CommExchangeFailureTest, PeerThatClosesGivesIoFailure)
{
    // Closing before any reply, and in the middle of one.
    for (const QByteArray& partial : {QByteArray(), QByteArray("*01 12")}) {
        CommTestLink link(GetParam());
        auto protocol = MakeProtocol(std::move(link.port), ProtocolKind::Terminal, 1);
        link.peer->Start([partial](CommPeerIo& io) {
            io.ReadFrame(ProtocolKind::Terminal);
            io.Write(partial);
            io.Close();
        });
        ASSERT_TRUE(protocol->Send("EQ"));
        QByteArray text;
        EXPECT_EQ(protocol->Receive(text), CommIoError) << partial.constData();
        EXPECT_TRUE(text.isEmpty());
    }
}

TEST_P(CommExchangeFailureTest, RefusedCommandsSendNothing)
{
    for (ProtocolKind kind : {ProtocolKind::Terminal, ProtocolKind::Minicomputer}) {
        CommTestLink link(GetParam());
        auto protocol = MakeProtocol(std::move(link.port), kind, 1);
        const QByteArray longest(FrameFormat::MaxCommandLength(kind), 'C');
        link.peer->Start([kind](CommPeerIo& io) {
            io.ReadFrame(kind);
            io.WaitForHangup();
        });

        protocol->SetUnitAddress(100);
        EXPECT_FALSE(protocol->Send("EQ"));
        EXPECT_EQ(protocol->Status(), CommProtocolError);
        protocol->SetUnitAddress(99);
        EXPECT_FALSE(protocol->Send(longest + 'C'));
        EXPECT_EQ(protocol->Status(), CommProtocolError);

        const std::optional<QByteArray> frame = protocol->Send(longest);
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->size(), FrameFormat::kSendFrameSize);
        protocol.reset();
        EXPECT_EQ(link.peer->Join(), *frame) << "only the accepted command reaches the device";
    }
}

INSTANTIATE_TEST_SUITE_P(Comm, CommExchangeFailureTest,
                         testing::Values(CommTransport::Tcp, CommTransport::Serial),
                         [](const auto& info) { return std::string(CommTransportName(info.param)); });

TEST(CommExchangeTimeoutTest, SilentPeerTimesOutAndTheNextExchangeWorks)
{
    // The TCP/IP wait is shortened; the serial one is fixed by the line speed (2142 ms).
    for (CommTransport transport : {CommTransport::Tcp, CommTransport::Serial}) {
        CommTestLink link(transport);
        auto protocol = MakeProtocol(std::move(link.port), ProtocolKind::Minicomputer, 1);
        link.peer->Start([](CommPeerIo& io) {
            io.ReadFrame(ProtocolKind::Minicomputer);  // no answer to the first command
            io.ReadFrame(ProtocolKind::Minicomputer);
            io.Write(FrameFormat::EncodeMiniReply(1, " 2"));
            io.WaitForHangup();
        });
        QByteArray text;
        ASSERT_TRUE(protocol->Send("ONE"));
        EXPECT_EQ(protocol->Receive(text), CommTimeout) << CommTransportName(transport);
        ASSERT_TRUE(protocol->Send("TWO"));
        EXPECT_EQ(protocol->Receive(text), CommOk) << CommTransportName(transport);
        EXPECT_EQ(text, " 2");
    }
}

} // namespace
