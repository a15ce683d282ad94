// The communication status texts and the rejection texts of the four tables.
#include "CommStatusText.h"
#include "RejectionTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(CommTextsTest, StatusTextsByCodeAndUnknownCodesAsCode1)
{
    const char* const expected[] = {
        "Communications status OK",           "Cannot open Communications Port",
        "Error In Transmission of Data",      "Parity Error detected in response",
        "Framing Error detected in response", "Overrrun Error detected in response",
        "Error receiving response",           "Timeout waiting for response",
        "Transmitted Command was rejected",   "Protocol error in response",
    };
    for (int code = 0; code < 10; ++code)
        EXPECT_EQ(CommStatusText(code), expected[code]) << code;
    for (int code : {-1, 10, 10061, 11001})
        EXPECT_EQ(CommStatusText(code), "Cannot open Communications Port") << code;
}

TEST(CommTextsTest, RejectionTextsAtTableEdges)
{
    const struct {
        int32_t number;
        const char* text;
    } cases[] = {
        {0, "Invalid Command"},
        {5, "No Transaction Ever Done"},
        {39, "No Current Batch On This Arm"},
        {40, "Unknown rejection 40"},
        {89, "Unknown rejection 89"},
        {90, "Minicomputer Protocol Required"},
        {96, "Undefined Error"},
        {99, "Internal Error"},
        {100, "Unknown rejection 100"},
        {0x7FFF, "Unknown rejection 32767"},
        {0x8000, "Empty Configuration"},
        {0x8000 + 14, "No Transaction Ever Done"},
        {0x8000 + 46, "Unused Batch"},
        {0x8000 + 47, "Unknown rejection 32815"},
        {0xBFFF, "Unknown rejection 49151"},
        {0xC000, "Internal Flash Error"},
        {0xC006, "Flash Write Error"},
        {0xC007, "Unknown rejection 49159"},
        {-5, "Unknown rejection -5"},
        {INT32_MIN, "Unknown rejection -2147483648"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RejectionTextFor(c.number), c.text) << c.number;
}

TEST(CommTextsTest, FormattedRejection)
{
    EXPECT_EQ(FormatRejection(5), "NO05 - No Transaction Ever Done");
    EXPECT_EQ(FormatRejection(94), "NO94 - Not in Program Mode");
    EXPECT_EQ(FormatRejection(0x8006), "NO32774 - Bad CRC");
}

} // namespace
