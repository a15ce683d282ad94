// Line settings from mode texts, the values derived from them, the "Comm" settings keys and
// the port settings dialog's choices.
#include "CommSettings.h"
#include "CommTemporarySettings.h"
#include "LineSettings.h"

#include <gtest/gtest.h>

namespace {

struct ModeCase {
    const char* text;
    bool ok;
    uint32_t baud;
    uint8_t parity;
    uint8_t dataBits;
    uint8_t stopBits;
};

// Defaults before parsing: 38400, no parity, 8 data bits, one stop bit.
const ModeCase kModeCases[] = {
    {"38400,N,8,1", true, 38400, 0, 8, 0},
    {"COM1: BAUD=38400 PARITY=N DATA=8 STOP=1", true, 38400, 0, 8, 0},
    {"COM7: baud=9600 parity=e data=7 stop=2", true, 9600, 2, 7, 2},
    {"BAUD=1200 STOP=1.5 PARITY=M", true, 1200, 3, 8, 1},
    {"COM2: BAUD=2400 PARITY=S DATA=7 STOP=1 TO=ON DTR=ON", true, 2400, 4, 7, 0},
    {"19200,o,7,1.5", true, 19200, 1, 7, 1},
    {"600", true, 600, 0, 8, 0},
    {" 4800 , E , 8 , 2 ", true, 4800, 2, 8, 2},
    {"", false, 38400, 0, 8, 0},
    {"fast", false, 38400, 0, 8, 0},
    {"0,N,8,1", false, 38400, 0, 8, 0},
    {"9600,X,8,1", false, 38400, 0, 8, 0},
    {"9600,N,9,1", false, 38400, 0, 8, 0},
    {"9600,N,4,1", false, 38400, 0, 8, 0},
    {"9600,N,8,3", false, 38400, 0, 8, 0},
    {"9600,N,8,1,9", false, 38400, 0, 8, 0},
    {"COM1: BAUD=9600 PARITY=N SPEED=1", false, 38400, 0, 8, 0},
    {"COM1: BAUD=9600 PARITY", false, 38400, 0, 8, 0},
};

TEST(CommSettingsTest, ModeTextsInBothFormsAndRejectedOnesChangeNothing)
{
    for (const ModeCase& c : kModeCases) {
        LineSettings s;
        EXPECT_EQ(s.ApplyModeText(QString::fromLatin1(c.text)), c.ok) << c.text;
        EXPECT_EQ(s.baudRate, c.baud) << c.text;
        EXPECT_EQ(s.parity, c.parity) << c.text;
        EXPECT_EQ(s.dataBits, c.dataBits) << c.text;
        EXPECT_EQ(s.stopBits, c.stopBits) << c.text;
    }
}

TEST(CommSettingsTest, ModeTextWrittenBackAndParityLetters)
{
    const struct {
        const char* in;
        const char* out;
        char letter;
    } cases[] = {
        {"9600,E,7,1", "9600,E,7,1", 'E'},   {"300,O,8,2", "300,O,8,2", 'O'},
        {"1200,M,7,1.5", "1200,M,7,1", 'M'}, {"COM1: BAUD=38400 PARITY=S DATA=8 STOP=1", "38400,S,8,1", 'S'},
        {"38400,N,8,1", "38400,N,8,1", 'N'},
    };
    for (const auto& c : cases) {
        LineSettings s;
        ASSERT_TRUE(s.ApplyModeText(QString::fromLatin1(c.in)));
        EXPECT_EQ(s.ModeText(), c.out);
        EXPECT_EQ(s.ParityLetter(), c.letter);
    }
}

TEST(CommSettingsTest, BaudIndexTextAndReadTimeout)
{
    const struct {
        uint32_t rate;
        int index;
        const char* text;
        int timeoutMs;
    } cases[] = {
        {600, 0, "600", 3000},     {1200, 1, "1200", 2500},   {2400, 2, "2400", 2333},
        {4800, 3, "4800", 2250},   {9600, 4, "9600", 2200},   {19200, 5, "19200", 2166},
        {38400, 6, "38400", 2142}, {57600, 6, "38400", 2142}, {300, 6, "38400", 2142},
    };
    for (const auto& c : cases) {
        LineSettings s;
        s.baudRate = c.rate;
        EXPECT_EQ(s.BaudIndex(), c.index) << c.rate;
        EXPECT_EQ(LineSettings::BaudText(s.BaudIndex()), c.text) << c.rate;
        EXPECT_EQ(LineSettings::ReadTimeoutMs(s.BaudIndex()), c.timeoutMs) << c.rate;
    }
}

TEST(CommSettingsTest, StoredValuesAndDefaults)
{
    CommTemporarySettings temporary;
    EXPECT_EQ(CommSettings::ReadModeText(3, CommSettings::DocumentDefaultModeText()),
              "COM1: BAUD=38400 PARITY=N DATA=8 STOP=1");
    EXPECT_EQ(CommSettings::ReadProtocolKind(3), 1);
    EXPECT_EQ(CommSettings::DeviceName(3), "/dev/ttyS2");

    LineSettings s;
    ASSERT_TRUE(s.ApplyModeText(u"9600,E,7,1"));
    CommSettings::WriteModeText(3, s);
    CommSettings::WriteProtocolKind(3, 0);
    CommSettings::WriteDeviceName(3, "/dev/ttyUSB0");
    EXPECT_EQ(CommTemporarySettings::Get("COM3").toString(), "9600,E,7,1");
    EXPECT_EQ(CommTemporarySettings::Get("COM3_Protocol").toInt(), 0);
    EXPECT_EQ(CommSettings::ReadLineSettings(3, CommSettings::DocumentDefaultModeText()), s);
    EXPECT_EQ(CommSettings::ReadProtocolKind(3), 0);
    EXPECT_EQ(CommSettings::DeviceName(3), "/dev/ttyUSB0");

    // A mode text that does not parse leaves the default line settings.
    CommTemporarySettings::Set("COM4", "garbage");
    EXPECT_EQ(CommSettings::ReadLineSettings(4, CommSettings::DocumentDefaultModeText()), LineSettings());
}

TEST(CommSettingsTest, DialogChoicesShowStoredSettings)
{
    EXPECT_EQ(CommSettings::BaudRateChoices(), QStringList({"1200", "2400", "4800", "9600", "19200", "38400"}));
    EXPECT_EQ(CommSettings::ProtocolChoices(), QStringList({"Terminal", "Minicomputer"}));
    const QStringList dataParity = CommSettings::DataParityChoices();
    const struct {
        const char* mode;
        const char* baudShown;
        const char* dataParityShown;
        const char* writtenBack;
    } cases[] = {
        {"9600,E,7,1", "9600", "7/Even", "9600,E,7,1"},
        {"1200,M,7,1", "1200", "7/None", "1200,N,7,1"},
        {"2400,S,8,1", "2400", "8/None", "2400,N,8,1"},
        {"600,O,8,1", "38400", "8/Odd", "38400,O,8,1"},
        {"19200,N,8,2", "19200", "8/None/2 Stop", "19200,N,8,2"},
        {"4800,N,7,2", "4800", "7/None", "4800,N,7,1"},
    };
    for (const auto& c : cases) {
        LineSettings s;
        ASSERT_TRUE(s.ApplyModeText(QString::fromLatin1(c.mode)));
        const int baud = CommSettings::BaudChoiceIndex(s);
        const int dp = CommSettings::DataParityChoiceIndex(s);
        EXPECT_EQ(CommSettings::BaudRateChoices().value(baud), c.baudShown) << c.mode;
        EXPECT_EQ(dataParity.value(dp), c.dataParityShown) << c.mode;
        CommSettings::ApplyChoices(s, baud, dp);
        EXPECT_EQ(s.ModeText(), c.writtenBack) << c.mode;
    }
}

TEST(CommSettingsTest, EveryDialogChoiceRoundTrips)
{
    for (int baud = 0; baud < 6; ++baud) {
        for (int dp = 0; dp < 7; ++dp) {
            LineSettings s;
            CommSettings::ApplyChoices(s, baud, dp);
            EXPECT_EQ(CommSettings::BaudChoiceIndex(s), baud);
            EXPECT_EQ(CommSettings::DataParityChoiceIndex(s), dp);
        }
    }
}

} // namespace
