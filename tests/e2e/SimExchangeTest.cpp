// The simulator's commands over each of its lines (TCP/IP, pseudo-terminal with Terminal and
// Minicomputer framing), exchanged by the core's own protocol classes.
#include "SimLine.h"

#include "CommStatusText.h"

#include <gtest/gtest.h>

namespace {

class SimExchangeTest : public testing::TestWithParam<SimLine> {
protected:
    void Launch(QStringList more = {})
    {
        ASSERT_TRUE(sim.Start(SimLineOptions(sim, GetParam(), more))) << qPrintable(sim.Error());
        protocol = ConnectSim(sim, GetParam());
        ASSERT_TRUE(protocol->Port().IsOpen()) << qPrintable(protocol->Port().LastErrorText());
    }
    SimExchange Do(const char* command) { return Exchange(*protocol, command); }

    SimProcess sim;
    std::unique_ptr<VandtProtocol> protocol;
};

TEST_P(SimExchangeTest, AcceptedRepliesEchoTheCommand)
{
    Launch({QStringLiteral("--firmware"), QStringLiteral("0.09")});
    const struct {
        const char* command;
        const char* reply;
    } cases[] = {
        {"PV SY 111", "PV SY 111 0"},    // factory default: the minimum
        {"PV SY 705", "PV SY 705 000"},  // UInt16, three digits
        {"XV SY 111", "XV SY 111 1"},    // level digit at offset 10
        {"PV 03 002", "PV 03 002 RECIPE 3 "}, // recipe instance 3, text padded to its width
        {"GP", "GP 4C385439"},           // the checksum of release 0.09
        {"EQ", "000000"},                // no flag set
        {"RR", "RR 01"},
    };
    for (const auto& c : cases) {
        const SimExchange e = Do(c.command);
        EXPECT_EQ(e.status, 0) << c.command;
        EXPECT_EQ(e.text, QByteArray(c.reply)) << c.command;
    }
}

TEST_P(SimExchangeTest, RejectionsCarryTheDevicesNumbers)
{
    Launch({QStringLiteral("--events"), QStringLiteral("40")});
    const struct {
        const char* command;
        int number;
    } cases[] = {
        {"PC SY 111 2", 3},          // option 2 of a 0..1 code
        {"PC SY 705 1000", 3},       // above 999
        {"PC SY 705 abc", 3},        // not a number
        {"PC SY 112 ABCD", 3},       // four characters into a three-character text
        {"XC SY 111 4", 3},          // levels are 1..3
        {"PC SY 999 1", 14},         // no such program code
        {"PV 05 002", 14},           // no fifth recipe
        {"PC SY 101 01/01/24", 6},   // the date is read-only
        {"ER 41", 37},               // past the event history
        {"ER 0", 37},
        {"QQ", 0},                   // no such command
        {"PVSY 111", 0},
    };
    for (const auto& c : cases) {
        const SimExchange e = Do(c.command);
        EXPECT_EQ(e.status, 8) << c.command;
        EXPECT_EQ(e.rejection, c.number) << c.command;
    }
}

TEST_P(SimExchangeTest, ProgramModeIsEnteredByAWriteAndLeftByLogOff)
{
    Launch();
    // The connection probe: the identify reply cut after 11 characters, second character "C".
    SimExchange e = Do("PV SY 111");
    ASSERT_EQ(e.status, 0);
    QByteArray probe = e.text.left(11);
    probe[1] = 'C';
    EXPECT_EQ(Do(probe.constData()).status, 0);
    EXPECT_EQ(Do("PC SY 705 300").status, 0);
    EXPECT_EQ(Do("PV SY 705").text, QByteArray("PV SY 705 300"));
    EXPECT_EQ(Do("XC SY 705 3").status, 0);
    EXPECT_EQ(Do("XV SY 705").text, QByteArray("XV SY 705 3"));
    EXPECT_EQ(Do("LO").status, 0);
    e = Do("LO");
    EXPECT_EQ(e.rejection, 94);
}

TEST_P(SimExchangeTest, LockedDeviceRefusesWritesButAnswersReads)
{
    Launch({QStringLiteral("--locked")});
    for (const char* command : {"PC SY 111 0", "XC SY 111 1"}) {
        const SimExchange e = Do(command);
        EXPECT_EQ(e.status, 8) << command;
        EXPECT_EQ(e.rejection, 24) << command;
    }
    EXPECT_EQ(Do("PV SY 111").status, 0);
    EXPECT_EQ(Do("LO").rejection, 94);
}

TEST_P(SimExchangeTest, StatusCharactersCarryTheFlags)
{
    // AU = bit 1 of character 0, PC = bit 8 of character 3, I4 = bit 8 of character 5; FL
    // (bit 2 of character 0) is clear for two status replies, then set.
    Launch({QStringLiteral("--flags"), QStringLiteral("AU,PC,I4,!FL:2")});
    EXPECT_EQ(Do("EQ").text, QByteArray("100808"));
    EXPECT_EQ(Do("RS").text, QByteArray("RS AU PC I4"));
    EXPECT_EQ(Do("EQ").text, QByteArray("100808"));
    EXPECT_EQ(Do("EQ").text, QByteArray("300808"));
    EXPECT_EQ(Do("RE AU").status, 0);
    EXPECT_EQ(Do("EQ").text, QByteArray("200808"));
}

TEST_P(SimExchangeTest, PrintCommandSendsItsReportEndedByAFormFeed)
{
    Launch({QStringLiteral("--transactions"), QStringLiteral("12")});
    const SimExchange e = Do("PT 11");
    ASSERT_EQ(e.status, 0);
    EXPECT_EQ(e.text, QByteArray("PT 0011"));
    QByteArray report;
    for (int i = 0; i < 4096; ++i) {
        char c = 0;
        if (protocol->Port().Read(&c, 1, ComStream::kReadCount) <= 0)
            break;
        report.append(c);
        if (c == '\f')
            break;
    }
    ASSERT_TRUE(report.endsWith('\f')) << report.constData();
    EXPECT_TRUE(report.contains("TRANSACTION     0011\r\n"));
    // The line end after the form feed is the rest of the report; the next exchange is clean.
    EXPECT_EQ(Do("PV SY 111").status, 0);
}

TEST_P(SimExchangeTest, RamExecutiveAnswersNothing)
{
    Launch();
    EXPECT_EQ(Do("UF").text, QByteArray("UF"));
    if (GetParam() == SimLine::Tcp)
        static_cast<TCPPort&>(protocol->Port()).SetReceiveWait(std::chrono::milliseconds(300));
    const SimExchange e = Do("EQ");
    EXPECT_EQ(e.status, 7) << qPrintable(CommStatusText(e.status));
}

INSTANTIATE_TEST_SUITE_P(Sim, SimExchangeTest, testing::Values(SimLine::Tcp, SimLine::PtyTerminal, SimLine::PtyMini),
                         [](const auto& info) { return std::string(SimLineName(info.param)); });

TEST(SimUnitAddressTest, SerialLineAnswersOnlyItsOwnUnit)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start(sim.WithPty(QStringLiteral("mini"), {QStringLiteral("--unit"), QStringLiteral("7")})))
        << qPrintable(sim.Error());
    auto own = ConnectSim(sim, SimLine::PtyMini, 7);
    SimExchange e = Exchange(*own, "EQ");
    EXPECT_EQ(e.status, 0);
    own.reset();
    auto other = ConnectSim(sim, SimLine::PtyMini, 1);
    e = Exchange(*other, "EQ");
    EXPECT_EQ(e.status, 7);
    // Over TCP/IP every frame carries 01 and the device answers it whatever its unit.
    auto tcp = ConnectSim(sim, SimLine::Tcp);
    EXPECT_EQ(Exchange(*tcp, "EQ").status, 0);
}

} // namespace

namespace {

class SimCommandsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.Start({QStringLiteral("--transactions"), QStringLiteral("8")})) << qPrintable(sim.Error());
        protocol = ConnectSim(sim, SimLine::Tcp);
    }
    SimExchange Do(const char* command) { return Exchange(*protocol, command); }

    SimProcess sim;
    std::unique_ptr<VandtProtocol> protocol;
};

TEST_F(SimCommandsTest, EveryMenuCommandIsAnswered)
{
    for (const char* command : {"EA 01", "RS", "RA 01", "RR", "GD", "FL", "RD T", "RQ", "PF", "VT 1", "IC X", "IR", "MC Y",
                                "MR", "AT 1", "LT R", "LP 01 7", "LD R", "RL", "RT 1", "RT 1 02 8", "TN", "TN 8", "BR B 001",
                                "BW B 001 1", "DY 0101", "AR", "OR 01 1", "RE PF", "PP", "PP 8", "SB", "SR"}) {
        const SimExchange e = Do(command);
        EXPECT_EQ(e.status, 0) << command << " -> NO" << e.rejection;
        EXPECT_TRUE(e.text.startsWith(QByteArray(command).left(2))) << command << " -> " << e.text.constData();
    }
}

TEST_F(SimCommandsTest, ClockAndUserRegistersKeepWhatIsSet)
{
    EXPECT_EQ(Do("SD 03142024 1022 P").status, 0);
    EXPECT_TRUE(Do("GD").text.startsWith("GD 03/14/2024 22:")) << Do("GD").text.constData();
    EXPECT_EQ(Do("PV SY 101").text, QByteArray("PV SY 101 03/14/24 ")); // the date code shows the clock
    for (const char* bad : {"SD 13142024 1022 P", "SD 03142024 1322 P", "SD 02302024 1000 A"})
        EXPECT_EQ(Do(bad).rejection, 3) << bad;
    EXPECT_EQ(Do("SD 0314 1022 P").rejection, 0);

    EXPECT_EQ(Do("BW S 010 LANE 4 NORTH").status, 0);
    EXPECT_EQ(Do("BR S 010").text, QByteArray("BR S 010 LANE 4 NORTH"));
    EXPECT_EQ(Do("BW B 002 7").rejection, 3);
    EXPECT_EQ(Do("BR B 002").text, QByteArray("BR B 002 0"));
}

} // namespace
