// Line faults injected by the simulator, as the host's protocol classes see them.
#include "SimLine.h"

#include "CommStatusText.h"

#include <QThread>

#include <gtest/gtest.h>

namespace {

struct FaultCase {
    const char* fault;
    SimLine line;
    int status; // of the first exchange
};

class SimFaultTest : public testing::TestWithParam<FaultCase> {};

TEST_P(SimFaultTest, FirstExchangeEndsAsTheHostMustSeeIt)
{
    const FaultCase c = GetParam();
    SimProcess sim;
    ASSERT_TRUE(sim.Start(SimLineOptions(sim, c.line, {QStringLiteral("--fault"), QString::fromLatin1(c.fault)})))
        << qPrintable(sim.Error());
    auto protocol = ConnectSim(sim, c.line, 1, std::chrono::milliseconds(400));
    const SimExchange e = Exchange(*protocol, "GP");
    EXPECT_EQ(e.status, c.status) << c.fault << " on " << SimLineName(c.line) << ": " << qPrintable(CommStatusText(e.status));
    if (e.status == 0) {
        EXPECT_EQ(e.text, QByteArray("GP 650CB6B6"));
    }
}

INSTANTIATE_TEST_SUITE_P(Sim, SimFaultTest,
                         testing::Values(FaultCase{"bad-check=1", SimLine::Tcp, 9},       // no carriage return
                                         FaultCase{"bad-check=1", SimLine::PtyMini, 9},   // wrong check byte
                                         FaultCase{"noise", SimLine::Tcp, 0},             // skipped before '*'
                                         FaultCase{"noise", SimLine::PtyMini, 0},         // skipped before STX
                                         FaultCase{"drop", SimLine::Tcp, 7},
                                         FaultCase{"truncate", SimLine::Tcp, 7},
                                         FaultCase{"disconnect", SimLine::Tcp, 6},
                                         FaultCase{"drop=2", SimLine::Tcp, 0}),           // the second one is hit
                         [](const auto& info) {
                             std::string name = std::string(info.param.fault) + "_" + SimLineName(info.param.line);
                             for (char& ch : name) {
                                 if (!isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             }
                             return name;
                         });

TEST(SimFaultPeriodTest, EveryNthExchangeIsHit)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--fault"), QStringLiteral("drop=3"), QStringLiteral("--fault"),
                           QStringLiteral("bad-check=2")}))
        << qPrintable(sim.Error());
    auto protocol = ConnectSim(sim, SimLine::Tcp, 1, std::chrono::milliseconds(400));
    // Exchange 6 is hit by both: a dropped reply wins.
    const int expected[] = {0, 9, 7, 9, 0, 7, 0};
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(Exchange(*protocol, "EQ").status, expected[i]) << "exchange " << i + 1;
}

TEST(SimFaultPeriodTest, PseudoTerminalComesBackAfterADisconnect)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start(sim.WithPty(QStringLiteral("mini"), {QStringLiteral("--fault"), QStringLiteral("disconnect=2")})))
        << qPrintable(sim.Error());
    auto protocol = ConnectSim(sim, SimLine::PtyMini);
    EXPECT_EQ(Exchange(*protocol, "EQ").status, 0);
    const SimExchange cut = Exchange(*protocol, "EQ");
    EXPECT_NE(cut.status, 0);
    // The host reopens the line under the same path and carries on.
    protocol.reset();
    for (int attempt = 0; attempt < 50 && !protocol; ++attempt) {
        auto reopened = ConnectSim(sim, SimLine::PtyMini);
        if (reopened->Port().IsOpen())
            protocol = std::move(reopened);
        else
            QThread::msleep(20);
    }
    ASSERT_TRUE(protocol);
    EXPECT_EQ(Exchange(*protocol, "EQ").status, 0);
}

} // namespace
