// The simulator's histories as a host reads them: latest numbers at the offsets the log
// transfer reads, entries down to 1, transaction numbers that wrap after 9999, and
// rejections past either end.
#include "SimLine.h"

#include <gtest/gtest.h>

namespace {

class SimLogsTest : public testing::Test {
protected:
    void Launch(const QStringList& options)
    {
        ASSERT_TRUE(sim.Start(options)) << qPrintable(sim.Error());
        protocol = ConnectSim(sim, SimLine::Tcp);
    }
    SimExchange Do(const QByteArray& command) { return Exchange(*protocol, command); }

    SimProcess sim;
    std::unique_ptr<VandtProtocol> protocol;
};

TEST_F(SimLogsTest, EventAndAuditLogsHoldEntriesOneToN)
{
    Launch({QStringLiteral("--events"), QStringLiteral("3"), QStringLiteral("--audits"), QStringLiteral("12")});
    const struct {
        const char* latest;
        const char* entry;
        uint32_t count;
    } logs[] = {{"ES", "ER", 3}, {"PS", "PR", 12}};
    for (const auto& log : logs) {
        const SimExchange latest = Do(log.latest);
        ASSERT_EQ(latest.status, 0);
        EXPECT_EQ(latest.text.mid(7).toUInt(), log.count) << log.latest;
        QSet<QByteArray> seen;
        for (uint32_t n = log.count; n >= 1; --n) {
            const SimExchange e = Do(QByteArray(log.entry) + ' ' + QByteArray::number(n));
            ASSERT_EQ(e.status, 0) << log.entry << ' ' << n;
            // The entry text starts at offset 7 with the entry's date.
            EXPECT_TRUE(e.text.mid(7).front() >= '0' && e.text.mid(7).front() <= '9') << e.text.constData();
            seen.insert(e.text.mid(7));
        }
        EXPECT_EQ(seen.size(), qsizetype(log.count)) << "entries differ from each other";
        for (uint32_t n : {0u, log.count + 1})
            EXPECT_EQ(Do(QByteArray(log.entry) + ' ' + QByteArray::number(n)).rejection, 37) << log.entry << ' ' << n;
    }
}

TEST_F(SimLogsTest, TransactionNumbersWrapAfter9999)
{
    // 10002 transactions: numbers 1..9999, then 1, 2, 3; the 9998 kept are 5..9999 and 1..3.
    Launch({QStringLiteral("--transactions"), QStringLiteral("10002")});
    const SimExchange latest = Do("TS");
    ASSERT_EQ(latest.status, 0);
    EXPECT_EQ(latest.text.mid(3).toUInt(), 4u); // the host starts reading at 4 - 1
    const struct {
        uint32_t number;
        bool kept;
    } cases[] = {{3, true}, {1, true}, {9999, true}, {5, true}, {4, false}, {0, false}, {10000, false}};
    for (const auto& c : cases) {
        const QByteArray n = QByteArray::number(c.number);
        const SimExchange tr = Do("TR " + n);
        const SimExchange tu = Do("TU " + n);
        if (!c.kept) {
            EXPECT_EQ(tr.status, 8) << c.number;
            EXPECT_EQ(tu.status, 8) << c.number;
            continue;
        }
        ASSERT_EQ(tr.status, 0) << c.number;
        EXPECT_EQ(tr.text.mid(3, 4).toUInt(), c.number); // the record starts with its number
        ASSERT_EQ(tu.status, 0) << c.number;
        EXPECT_TRUE(tu.text.mid(14).startsWith("DRIVER")) << tu.text.constData();
    }
}

TEST_F(SimLogsTest, LatestTransactionOneMeansTheHostStartsAt9999)
{
    Launch({QStringLiteral("--transactions"), QStringLiteral("9999")});
    EXPECT_EQ(Do("TS").text, QByteArray("TS 0001"));
    EXPECT_EQ(Do("TR 9999").status, 0);
    EXPECT_EQ(Do("TR 1").rejection, 37);
}

TEST_F(SimLogsTest, NoTransactionEverDone)
{
    Launch({QStringLiteral("--transactions"), QStringLiteral("0")});
    for (const char* command : {"TS", "TR 1", "PT", "PP"})
        EXPECT_EQ(Do(command).rejection, 5) << command;
}

} // namespace
