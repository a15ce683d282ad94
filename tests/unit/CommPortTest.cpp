// Serial and TCP/IP ports on real transports: read rules, status texts, line sharing and
// ports that could not be opened.
#include "CommStatusText.h"
#include "CommTemporarySettings.h"
#include "CommTestLink.h"
#include "TerminalProtocol.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace std::chrono_literals;

LineSettings Line(const char* modeText)
{
    LineSettings s;
    EXPECT_TRUE(s.ApplyModeText(QString::fromLatin1(modeText))) << modeText;
    return s;
}

// A TCP port number nothing listens on.
uint16_t ClosedTcpPort()
{
    CommTcpPeer probe;
    return probe.Port();  // the listener closes when the probe goes
}

class CommPortReadTest : public testing::TestWithParam<CommTransport> {};

TEST_P(CommPortReadTest, FullBufferWithoutTerminatorIsProtocolErrorAndTerminatorMayFillIt)
{
    CommTestLink link(GetParam());
    link.peer->Start([](CommPeerIo& io) {
        io.Write("abcdxyz\n");
        io.WaitForHangup();
    });
    char buffer[4];
    EXPECT_EQ(link.port->Read(buffer, 4, '\n'), 0);
    EXPECT_EQ(link.port->Status(), CommProtocolError);
    // A serial read counts the terminator, a TCP/IP read the bytes before it.
    const int expected = GetParam() == CommTransport::Serial ? 4 : 3;
    EXPECT_EQ(link.port->Read(buffer, 4, '\n'), expected);
    EXPECT_EQ(QByteArray(buffer, 4), "xyz\n");
}

INSTANTIATE_TEST_SUITE_P(Comm, CommPortReadTest, testing::Values(CommTransport::Tcp, CommTransport::Serial),
                         [](const auto& info) { return std::string(CommTransportName(info.param)); });

TEST(CommPortTest, TcpTerminatorAsFirstByteReadsAsFailureWithStatusUnchanged)
{
    CommTestLink link(CommTransport::Tcp);
    link.peer->Start([](CommPeerIo& io) {
        io.Write("\nabc\n");
        io.WaitForHangup();
    });
    char buffer[10];
    link.port->SetStatus(CommTimeout);
    EXPECT_EQ(link.port->Read(buffer, 10, '\n'), 0);
    EXPECT_EQ(link.port->Status(), CommTimeout);
    EXPECT_EQ(link.port->Read(buffer, 10, '\n'), 3);
    EXPECT_EQ(QByteArray(buffer, 4), "abc\n");
}

TEST(CommPortTest, SerialCountReadWaitsForEveryByte)
{
    CommTestLink link(CommTransport::Serial);
    link.peer->Start([](CommPeerIo& io) {
        io.Write("ab");
        std::this_thread::sleep_for(100ms);  // the rest comes in a later piece
        io.Write("cd");
        io.WaitForHangup();
    });
    char buffer[4];
    link.port->SetStatus(CommTimeout);
    EXPECT_EQ(link.port->Read(buffer, 4, ComStream::kReadCount), 4);
    EXPECT_EQ(QByteArray(buffer, 4), "abcd");
    EXPECT_EQ(link.port->Status(), CommOk);
}

TEST(CommPortTest, StatusTexts)
{
    CommTemporarySettings settings;
    CommPtyPeer pty;
    CommTemporarySettings::Set("COM2_Device", pty.SlavePath());
    {
        SerialPort com2(2, Line("19200,E,7,1"));
        ASSERT_TRUE(com2.IsOpen()) << com2.LastErrorText().toStdString();
        EXPECT_EQ(com2.StatusText(3), "Com2:19200,E,7,1   Address:3");
        EXPECT_EQ(com2.StatusText(0x103), "Com2:19200,E,7,1   Address:3") << "only the low byte of the address";
        EXPECT_FALSE(com2.IsNetwork());
    }
    {
        SerialPort byPath(pty.SlavePath(), Line("600,N,8,2"));
        EXPECT_EQ(byPath.StatusText(1), pty.SlavePath() + ":600,N,8,2   Address:1");
        EXPECT_EQ(byPath.ReadTimeoutMs(), 3000);
    }
    {
        // A rate outside the listed seven shows as 38400 and waits as at 38400.
        SerialPort unlisted(pty.SlavePath(), Line("57600,N,8,1"));
        EXPECT_EQ(unlisted.StatusText(1), pty.SlavePath() + ":38400,N,8,1   Address:1");
        EXPECT_EQ(unlisted.ReadTimeoutMs(), 2142);
    }
    CommTcpPeer peer;
    TCPPort tcp(QStringLiteral("127.0.0.1"), peer.Port());
    EXPECT_EQ(tcp.StatusText(9), QStringLiteral("TCP/IP: 127.0.0.1 : %1").arg(peer.Port()));
    EXPECT_TRUE(tcp.IsNetwork());
}

TEST(CommPortTest, PortsThatCannotOpenAreNotOpenAndRefuseTraffic)
{
    CommTemporarySettings settings;
    CommTemporarySettings::Set("COM3_Device", "/nonexistent/tty-for-test");
    std::vector<std::unique_ptr<ComStream>> ports;
    ports.push_back(std::make_unique<SerialPort>(3, LineSettings()));
    ports.push_back(std::make_unique<SerialPort>(0, LineSettings()));
    ports.push_back(std::make_unique<SerialPort>(100, LineSettings()));
    ports.push_back(std::make_unique<SerialPort>(QStringLiteral("/nonexistent/tty-for-test"), LineSettings()));
    ports.push_back(std::make_unique<TCPPort>(QStringLiteral("127.0.0.1"), ClosedTcpPort()));
    for (const auto& port : ports) {
        EXPECT_FALSE(port->IsOpen());
        EXPECT_EQ(port->StatusText(1), "Comm Not Enabled");
        EXPECT_EQ(CommStatusShown(port->Status()), CommCannotOpen);
        const int status = port->Status();
        char buffer[4];
        EXPECT_EQ(port->Write("EQ"), 0);
        EXPECT_EQ(port->Read(buffer, 4, '\n'), 0);
        EXPECT_EQ(port->Status(), status);
    }
    // A refused TCP/IP connect keeps the socket error, well away from the status codes.
    EXPECT_GE(ports.back()->Status(), 10000);

    TerminalProtocol protocol(std::move(ports.back()));
    QByteArray text;
    EXPECT_FALSE(protocol.Send("EQ"));
    EXPECT_EQ(protocol.Receive(text), CommCannotOpen);
}

TEST(CommPortTest, LineTableSharesOneLineWithItsFirstSettings)
{
    CommTemporarySettings settings;
    CommQuietNotifierWarning();
    CommPtyPeer pty;
    CommTemporarySettings::Set("COM4_Device", pty.SlavePath());
    const QString path = pty.SlavePath();

    auto first = std::make_unique<SerialPort>(path, Line("9600,N,8,1"));
    auto second = std::make_unique<SerialPort>(4, Line("19200,O,8,2"));
    ASSERT_TRUE(first->IsOpen());
    ASSERT_TRUE(second->IsOpen());
    EXPECT_EQ(LineTable::UseCount(path), 2);
    EXPECT_EQ(second->Settings(), first->Settings());
    EXPECT_EQ(second->StatusText(1), "Com4:9600,N,8,1   Address:1");

    pty.Start([](CommPeerIo& io) {
        if (io.ReadExactly(1) == "X")
            io.Write("Y");
        io.WaitForHangup();
    });
    first.reset();
    EXPECT_EQ(LineTable::UseCount(path), 1);
    char c = 0;
    ASSERT_EQ(second->Write("X", 1), 1);
    ASSERT_EQ(second->Read(&c, 1, ComStream::kReadCount), 1);
    EXPECT_EQ(c, 'Y');

    second.reset();
    EXPECT_EQ(LineTable::UseCount(path), 0);
    EXPECT_EQ(pty.Join(), "X") << "the line closed, so the peer saw the hang-up";
}

} // namespace
