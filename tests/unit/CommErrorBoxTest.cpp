// The message boxes that show a failed exchange: exact texts, captions, buttons and results,
// from real ports in each failure state.
#include "CommStatusText.h"
#include "CommTemporarySettings.h"
#include "CommTestLink.h"
#include "MakeProtocol.h"
#include "ScriptedUserInterface.h"

#include <gtest/gtest.h>

namespace {

using Buttons = UserInterface::Buttons;
using Icon = UserInterface::Icon;

TEST(CommErrorBoxTest, PortThatCannotOpenShowsCode1UnderDefaultHeading)
{
    CommTemporarySettings settings;
    CommTemporarySettings::Set("COM3_Device", "/nonexistent/tty-for-test");
    uint16_t closedPort = 0;
    {
        CommTcpPeer probe;
        closedPort = probe.Port();
    }
    SerialPort serial(3, LineSettings());
    TCPPort tcp(QStringLiteral("127.0.0.1"), closedPort);

    ScriptedUserInterface ui;
    EXPECT_EQ(serial.ShowErrorBox(ui), UserInterface::Ok);
    EXPECT_EQ(tcp.ShowErrorBox(ui, QString(), Buttons::AbortRetryIgnore, Icon::Error), UserInterface::Ok);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Error on serial device at port 3: - Cannot open Communications Port");
    EXPECT_EQ(ui.messages[0].caption, "");
    EXPECT_EQ(ui.messages[1].text,
              QStringLiteral("Error on serial device at port %1: - Cannot open Communications Port").arg(closedPort));
    EXPECT_EQ(ui.messages[1].buttons, Buttons::AbortRetryIgnore);
    EXPECT_EQ(ui.messages[1].icon, Icon::Error);
}

TEST(CommErrorBoxTest, ProtocolShowsRejectionItselfAndLeavesOtherFailuresToThePort)
{
    CommTestLink link(CommTransport::Tcp);
    const uint16_t tcpPort = static_cast<TCPPort&>(*link.port).TcpPort();
    auto protocol = MakeProtocol(std::move(link.port), ProtocolKind::Terminal, 1);
    link.peer->Start([](CommPeerIo& io) {
        io.ReadFrame(ProtocolKind::Terminal);
        io.Write("*01NO05\r\n");
        io.ReadFrame(ProtocolKind::Terminal);  // and no answer to this one
        io.WaitForHangup();
    });
    QByteArray text;
    ASSERT_TRUE(protocol->Send("PC SY 111 1"));
    ASSERT_EQ(protocol->Receive(text), CommRejected);
    ScriptedUserInterface ui;
    ui.answers = {UserInterface::Ok, UserInterface::Retry, UserInterface::Abort};
    EXPECT_EQ(protocol->ShowErrorBox(ui), UserInterface::Ok);
    EXPECT_EQ(protocol->ShowErrorBox(ui, "Write failed", Buttons::AbortRetryIgnore), UserInterface::Retry);

    ASSERT_TRUE(protocol->Send("PV SY 111"));
    ASSERT_EQ(protocol->Receive(text), CommTimeout);
    // The caller's context is not passed on to the port's box; its buttons are.
    EXPECT_EQ(protocol->ShowErrorBox(ui, "Reading codes", Buttons::AbortRetryIgnore, Icon::Warning),
              UserInterface::Abort);

    EXPECT_EQ(ui.MessageTexts(),
              QStringList({"Command Rejected -  - No Transaction Ever Done", "Write failed - No Transaction Ever Done",
                           QStringLiteral("Error on serial device at port %1: - Timeout waiting for response")
                               .arg(tcpPort)}));
    EXPECT_EQ(ui.messages[2].buttons, Buttons::AbortRetryIgnore);
    EXPECT_EQ(ui.messages[2].icon, Icon::Warning);
}

TEST(CommErrorBoxTest, IoFailureShowsPlatformTextAndAlwaysAborts)
{
    CommTestLink link(CommTransport::Tcp);
    auto protocol = MakeProtocol(std::move(link.port), ProtocolKind::Terminal, 1);
    link.peer->Start([](CommPeerIo& io) {
        io.ReadFrame(ProtocolKind::Terminal);
        io.Close();
    });
    QByteArray text;
    ASSERT_TRUE(protocol->Send("EQ"));
    ASSERT_EQ(protocol->Receive(text), CommIoError);
    ScriptedUserInterface ui;
    ui.answers = {UserInterface::Retry};
    EXPECT_EQ(protocol->ShowErrorBox(ui, QString(), Buttons::AbortRetryIgnore), UserInterface::Abort);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Communications Error");
    EXPECT_EQ(ui.messages[0].icon, Icon::Information);
    EXPECT_EQ(ui.messages[0].buttons, Buttons::Ok);
    EXPECT_EQ(ui.messages[0].text, protocol->Port().LastErrorText());
    EXPECT_FALSE(ui.messages[0].text.isEmpty());
}

} // namespace
