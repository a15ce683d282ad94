// Protocol objects made from a document's port and address and the "Comm" settings.
#include "CommStatusText.h"
#include "CommTemporarySettings.h"
#include "CommTestLink.h"
#include "MakeProtocol.h"
#include "MiniProtocol.h"

#include <gtest/gtest.h>

namespace {

TEST(CommMakeProtocolTest, SerialPortUsesStoredModeTextKindAndLastOctet)
{
    CommTemporarySettings settings;
    CommQuietNotifierWarning();
    for (int kind : {0, 1}) {
        CommPtyPeer pty;
        CommTemporarySettings::Set("COM5_Device", pty.SlavePath());
        CommTemporarySettings::Set("COM5", "9600,E,7,1");
        CommTemporarySettings::Set("COM5_Protocol", kind);
        auto protocol = MakeProtocol(5, 0xC0A8010C);  // 192.168.1.12
        ASSERT_TRUE(protocol);
        const auto* terminal = dynamic_cast<TerminalProtocol*>(protocol.get());
        ASSERT_TRUE(terminal);
        EXPECT_EQ(terminal->Kind(), ProtocolKind(kind));
        EXPECT_EQ(protocol->UnitAddress(), 12);
        EXPECT_EQ(protocol->Port().StatusText(protocol->UnitAddress()), "Com5:9600,E,7,1   Address:12");

        const ProtocolKind framing = ProtocolKind(kind);
        pty.Start([framing](CommPeerIo& io) { io.ReadFrame(framing); });
        ASSERT_TRUE(protocol->Send("EQ"));
        protocol.reset();
        const QByteArray expected =
            kind == 0 ? FrameFormat::EncodeTerminal(12, "EQ") : FrameFormat::EncodeMiniCommand(12, "EQ");
        EXPECT_EQ(pty.Join(), expected);
    }
}

TEST(CommMakeProtocolTest, DefaultsToMinicomputerAndRefusesUnknownKinds)
{
    CommTemporarySettings settings;
    CommTemporarySettings::Set("COM6_Device", "/nonexistent/tty-for-test");
    auto protocol = MakeProtocol(6, 1);
    ASSERT_TRUE(protocol);
    EXPECT_NE(dynamic_cast<MiniProtocol*>(protocol.get()), nullptr);
    EXPECT_FALSE(protocol->Port().IsOpen());

    CommTemporarySettings::Set("COM6_Protocol", 2);
    EXPECT_EQ(MakeProtocol(6, 1), nullptr);
}

TEST(CommMakeProtocolTest, PortZeroConnectsToTheAddressOnPort7734)
{
    EXPECT_EQ(HostTextOf(0xC0A8010C), "192.168.1.12");
    // Any 127.x.y.z address is loopback; this one is unlikely to be taken.
    CommTcpPeer peer("127.77.41.9", FrameFormat::kDeviceTcpPort);
    if (!peer.Listening())
        GTEST_SKIP() << "127.77.41.9:7734 is in use";
    peer.Start([](CommPeerIo& io) {
        io.ReadFrame(ProtocolKind::Terminal);
        io.Write("*01 OK\r\n");
        io.WaitForHangup();
    });
    auto protocol = MakeProtocol(0, 0x7F4D2909);
    ASSERT_TRUE(protocol);
    EXPECT_EQ(protocol->UnitAddress(), 1);
    EXPECT_EQ(protocol->Port().StatusText(1), "TCP/IP: 127.77.41.9 : 7734");
    QByteArray text;
    ASSERT_TRUE(protocol->Send("EQ"));
    EXPECT_EQ(protocol->Receive(text), CommOk);
    EXPECT_EQ(text, " OK");
}

} // namespace
