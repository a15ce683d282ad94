// The device's display texts and the shared byte helpers.
#include "Crc32.h"
#include "LiteralTable.h"
#include "ReverseBytes.h"
#include "Section.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(LiteralTable, EntriesAndSentinel)
{
    ASSERT_TRUE(InitLiteralTable());
    EXPECT_STREQ(Literal(0), "Corvantix.net");
    EXPECT_STREQ(Literal(1), "Corvantix");
    EXPECT_STREQ(Literal(204), "Enter a three character entry to be displayed while flow rate is displayed");
    EXPECT_STREQ(Literal(1581), "LAST LITERAL");
    EXPECT_STREQ(Literal(856), "Select the type of injector for this additive  ");
    EXPECT_STREQ(Literal(1534), "Modbus on comm ");
    EXPECT_STREQ(Literal(1538), "RX ");
    EXPECT_STREQ(Literal(1539), "TX ");
    EXPECT_STREQ(Literal(1418), "Press \"ENTER\" key to reset pulse counts.");
    EXPECT_NE(std::strchr(Literal(1005), '"'), nullptr);
    EXPECT_STREQ(Literal(1582), "");
    EXPECT_STREQ(Literal(-1), "");
    for (int i = 0; i < kLiteralCount; ++i) {
        const size_t n = std::strlen(Literal(i));
        EXPECT_LE(n, 147u) << i;
        for (size_t k = 0; k < n; ++k)
            EXPECT_LT(static_cast<unsigned char>(Literal(i)[k]), 0x80) << i;
    }
}

TEST(ByteHelpers, Crc32AndRunningRegister)
{
    EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
    EXPECT_EQ(Crc32("", 0), 0u);
    uint32_t reg;
    Crc32Init(reg);
    uint32_t crc = 0;
    for (char c : std::string("123456789"))
        crc = Crc32Step(reg, static_cast<uint8_t>(c));
    EXPECT_EQ(crc, 0xCBF43926u);
}

TEST(ByteHelpers, ReverseBytesWritesMostSignificantFirst)
{
    const uint32_t value = 0x11223344u;
    uint8_t out[4];
    ReverseBytes(out, &value, 4);
    const uint8_t expected[4] = {0x11, 0x22, 0x33, 0x44};
    EXPECT_EQ(std::memcmp(out, expected, 4), 0);
}

TEST(Sections, CommandDirectoriesAndNames)
{
    const char* expected[18] = {"CF", "CF", "CF", "CF", "CF", "SY", "SY", "SY", "SY",
                                "SY", "SY", "SY", "SY", "01", "01", "02", "03", "04"};
    for (int s = 0; s < 18; ++s)
        EXPECT_EQ(CommandDirectory(s, Section(s)->instance), QString::fromLatin1(expected[s])) << s;
    EXPECT_EQ(ParseSection(QStringLiteral("general purpose")), 5);
    EXPECT_EQ(ParseSection(QStringLiteral("17")), 17);
    EXPECT_EQ(ParseSection(QStringLiteral("18")), -1);
    EXPECT_EQ(ParseSection(QStringLiteral("Nowhere")), -1);
}
