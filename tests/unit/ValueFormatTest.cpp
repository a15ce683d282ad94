// Value texts: the formatter, the parser and the texts shown beside a value.
#include "ConfigImage.h"
#include "ParamTable.h"
#include "SectionLists.h"
#include "ValueFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <clocale>
#include <cstring>
#include <string>

namespace {

const SectionLists& Lists()
{
    static const SectionLists lists;
    return lists;
}

const DBParam& Param(int section, int number)
{
    const DBParam* p = Lists().Find(section, number);
    EXPECT_NE(p, nullptr) << "section " << section << " code " << number;
    static const DBParam none;
    return p ? *p : none;
}

void PutBytes(ConfigImage& image, const DBParam& p, const void* bytes, size_t size)
{
    std::span<uint8_t> target = image.LocateValue(p);
    ASSERT_GE(target.size(), size);
    std::memcpy(target.data(), bytes, size);
}

template <typename T>
void PutValue(ConfigImage& image, const DBParam& p, T value)
{
    PutBytes(image, p, &value, sizeof value); // the test host is little-endian, as the image is
}

template <typename T>
T GetValue(const ConfigImage& image, const DBParam& p)
{
    T value{};
    std::memcpy(&value, image.LocateValue(p).data(), sizeof value);
    return value;
}

} // namespace

// Values placed byte by byte, formatted.
TEST(ValueFormat, FormatsStoredValuesAtTheirWidth)
{
    struct Case {
        int section;
        int number;
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {5, 111, 1, "1"},                    // UInt8 width 1
        {2, 201, 5, "05"},                   // option code padded to its width
        {11, 705, 300, "300"},               // UInt16 above 255 keeps 16 bits
        {5, 164, 2, "2"},                    // UInt16 width 1
        {1, 102, 5.5, "005.50"},             // Float 6.2 with leading zeros
        {4, 402, -1.5, "-1.50"},             // sign counts in the width
        {1, 102, 12345.678, "12345.68"},     // wider than the width: never cut
        {7, 301, 1000, "001000.000"},        // Double 10.3
        {12, 814, 1, "1.000000e+000"},       // three-digit exponent
        {12, 814, 0, "0.000000e+000"},
        {12, 814, -2.5, "-2.500000e+000"},
        {12, 814, 9999998976.0, "9.999999e+009"},
        {11, 721, 0, "          "},          // UInt32 precision 0: zero is all blanks
        {11, 721, 3232235777.0, "3232235777"}, // 192.168.1.1
        {7, 362, 42, "   42"},               // UInt32 right-aligned with blanks
        {10, 611, 5, "005"},
    };
    for (const Case& c : cases) {
        ConfigImage image;
        const DBParam& p = Param(c.section, c.number);
        switch (p.def->type) {
        case ValueType::UInt8: PutValue<uint8_t>(image, p, static_cast<uint8_t>(c.value)); break;
        case ValueType::UInt16: PutValue<uint16_t>(image, p, static_cast<uint16_t>(c.value)); break;
        case ValueType::UInt32: PutValue<uint32_t>(image, p, static_cast<uint32_t>(c.value)); break;
        case ValueType::Float: PutValue<float>(image, p, static_cast<float>(c.value)); break;
        case ValueType::Double: PutValue<double>(image, p, c.value); break;
        default: FAIL() << p.def->name;
        }
        EXPECT_EQ(FormatValue(p, image), QString::fromLatin1(c.expected)) << p.def->name;
    }
}

TEST(ValueFormat, TextIsLeftAlignedAndCutAtItsPrecision)
{
    ConfigImage image;
    const DBParam& name = Param(5, 121); // Text 21
    ASSERT_TRUE(StoreValue(image, name, QStringLiteral("Bay 3")));
    EXPECT_EQ(FormatValue(name, image), QStringLiteral("Bay 3").leftJustified(21));

    // 101 Date{O} is shown 9 wide although its maximum is 15.
    const DBParam& date = Param(5, 101);
    ASSERT_TRUE(StoreValue(image, date, QStringLiteral("01/02/24")));
    EXPECT_EQ(FormatValue(date, image), QStringLiteral("01/02/24 "));
    EXPECT_EQ(RangeText(*date.def), QStringLiteral("Enter up to 15 characters of text"));

    // A text without a NUL in its storage is read no further than the storage.
    const DBParam& flowDescriptor = Param(5, 112); // 3 characters, 4 bytes
    std::span<uint8_t> bytes = image.LocateValue(flowDescriptor);
    std::memset(bytes.data(), 'x', 8);
    EXPECT_EQ(FormatValue(flowDescriptor, image), QStringLiteral("xxx"));
}

TEST(ValueFormat, RecipeInstancesLieOneStrideApart)
{
    ConfigImage image;
    const DBParam& first = Param(14, 2);
    const DBParam& fourth = Param(17, 2);
    ASSERT_TRUE(StoreValue(image, fourth, QStringLiteral("DIESEL")));
    EXPECT_EQ(FormatValue(first, image), QString(9, QLatin1Char(' ')));
    EXPECT_EQ(FormatValue(fourth, image), QStringLiteral("DIESEL   "));
    EXPECT_EQ(image.LocateValue(fourth).data() - image.LocateValue(first).data(), 3 * 52);

    // Instances an item does not have are neither read nor written.
    const ConfigImage before = image;
    EXPECT_FALSE(StoreValue(image, *first.def, 4, QStringLiteral("X")));
    EXPECT_FALSE(StoreValue(image, *first.def, -1, QStringLiteral("X")));
    EXPECT_FALSE(StoreValue(image, *Param(5, 121).def, 1, QStringLiteral("X")));
    EXPECT_TRUE(std::ranges::equal(image.Block(ImageBlock::Config), before.Block(ImageBlock::Config)));
    std::memset(image.LocateValue(*first.def, 0).data() + 4 * 52, 'y', 4);
    EXPECT_EQ(FormatValue(*first.def, 4, image), QString(9, QLatin1Char(' ')));
}

// The exponent fix keeps the field width by taking the extra digit out of the padding.
TEST(ValueFormat, ExponentFieldsKeepTheirWidth)
{
    struct Case {
        const char* format;
        int width;
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {"%*.*e", 15, 1.5, "0000001.50e+000"},
        {"%*.*e", 15, -1.5, "-000001.50e+000"},
        {"%*.*e", 15, 1.5e-300, "0000001.50e-300"},
        {"%-*.*e", 15, 1.5, "1.50e+000      "},
        {"%*.*e", 6, 1.5, "1.50e+000"},
        {"%*.*g", 13, 1.5e20, "000001.5e+020"},
        {"%*.*g", 16, 1.5, "00000000000001.5"},
    };
    for (const Case& c : cases) {
        ParamDef def{};
        def.location = {ImageBlock::Config, 0};
        def.type = ValueType::Double;
        def.format = c.format;
        def.width = static_cast<uint8_t>(c.width);
        def.precision = 2;
        def.storage = 8;
        def.name = "test";
        ConfigImage image;
        const uint64_t bits = std::bit_cast<uint64_t>(c.value);
        std::memcpy(image.LocateValue(def, 0).data(), &bits, 8);
        EXPECT_EQ(FormatValue(def, 0, image), QString::fromLatin1(c.expected)) << c.format << " " << c.value;
    }
}

// A conversion that does not fit the value type is replaced by the type's own; an unknown
// type is shown as text and never stored.
TEST(ValueFormat, MismatchedConversionsAndUnknownTypesAreSafe)
{
    ConfigImage image;
    ParamDef def{};
    def.location = {ImageBlock::Config, 100};
    def.type = ValueType::UInt16;
    def.format = "%*.*s";
    def.width = 4;
    def.precision = 4;
    def.storage = 2;
    def.name = "test";
    ASSERT_TRUE(StoreValue(image, def, 0, QStringLiteral("77")));
    EXPECT_EQ(FormatValue(def, 0, image), QStringLiteral("0077"));

    def.type = static_cast<ValueType>(12);
    def.format = "%*.*f";
    def.storage = 4;
    std::memcpy(image.LocateValue(def, 0).data(), "ab\0", 3);
    EXPECT_EQ(FormatValue(def, 0, image), QStringLiteral("ab  "));
    EXPECT_FALSE(StoreValue(image, def, 0, QStringLiteral("zz")));
    EXPECT_EQ(FormatValue(def, 0, image), QStringLiteral("ab  "));
}

TEST(ValueFormat, StoreValueReadsTheLeadingNumberByType)
{
    struct Case {
        int section;
        int number;
        const char* text;
        double stored;
    };
    const Case cases[] = {
        {4, 402, "9,5", 9.5},             // decimal comma
        {4, 402, "  -1.25xyz", -1.25},
        {7, 301, "1234,5", 1234.5},       // Double, decimal comma
        {7, 301, "1e3", 1000},
        {11, 705, "300", 300},            // UInt16 keeps 16 bits
        {11, 705, "70000", 70000 & 0xFFFF},
        {5, 131, "2.7", 2},               // atoi stops at the point
        {5, 131, "abc", 0},
        {5, 131, "300", 300 & 0xFF},      // low 8 bits
        {5, 131, "  +12", 12},
        {5, 131, "99999999999", 0xFF},    // atoi saturates at the int range
        {11, 721, "3232235777", 3232235777.0},
        {11, 721, "-1", 4294967295.0},     // strtoul wraps a negative number
        {11, 721, "99999999999", 4294967295.0}, // and saturates a large one
        {12, 814, "1e10", 1e10},
        {12, 814, "9999998976", 9999998976.0},
        {12, 814, "1e39", std::numeric_limits<double>::infinity()}, // beyond the single range
    };
    for (const Case& c : cases) {
        ConfigImage image;
        const DBParam& p = Param(c.section, c.number);
        ASSERT_TRUE(StoreValue(image, p, QString::fromLatin1(c.text))) << c.text;
        double stored = 0;
        switch (p.def->type) {
        case ValueType::UInt8: stored = GetValue<uint8_t>(image, p); break;
        case ValueType::UInt16: stored = GetValue<uint16_t>(image, p); break;
        case ValueType::UInt32: stored = GetValue<uint32_t>(image, p); break;
        case ValueType::Float: stored = GetValue<float>(image, p); break;
        case ValueType::Double: stored = GetValue<double>(image, p); break;
        default: FAIL() << p.def->name;
        }
        if (p.def->type == ValueType::Float)
            EXPECT_EQ(stored, static_cast<double>(static_cast<float>(c.stored))) << p.def->name << " " << c.text;
        else
            EXPECT_EQ(stored, c.stored) << p.def->name << " " << c.text;
    }
}

// A numeric store writes exactly its own bytes.
TEST(ValueFormat, StoreValueTouchesOnlyItsOwnBytes)
{
    ConfigImage image;
    std::span<uint8_t> block = image.Block(ImageBlock::Config);
    std::fill(block.begin(), block.end(), uint8_t{0xAA});
    const DBParam& timeout = Param(11, 705); // UInt16 at 322
    ASSERT_TRUE(StoreValue(image, timeout, QStringLiteral("300")));
    EXPECT_EQ(block[321], 0xAA);
    EXPECT_EQ(block[322], 0x2C);
    EXPECT_EQ(block[323], 0x01);
    EXPECT_EQ(block[324], 0xAA);
}

// A text longer than its storage keeps storage - 1 characters and never reaches the next item.
TEST(ValueFormat, StoreValueNeverWritesPastATextsStorage)
{
    ConfigImage image;
    const DBParam& date = Param(5, 101); // 9 bytes at R46, 102 Time{O} follows at R55
    const DBParam& time = Param(5, 102);
    ASSERT_TRUE(StoreValue(image, time, QStringLiteral("10:15:00")));
    ASSERT_TRUE(StoreValue(image, date, QStringLiteral("12/31/2024 and more")));
    EXPECT_EQ(FormatValue(date, image), QStringLiteral("12/31/20 "));
    EXPECT_EQ(image.LocateValue(date)[8], 0);
    EXPECT_EQ(FormatValue(time, image).trimmed(), QStringLiteral("10:15:00"));

    // A shorter text clears what a longer one left behind.
    ASSERT_TRUE(StoreValue(image, date, QStringLiteral("1/2")));
    for (int i = 3; i < 9; ++i)
        EXPECT_EQ(image.LocateValue(date)[static_cast<size_t>(i)], 0) << i;

    // Every editable text fits its storage, so an accepted edit is never cut.
    for (const ParamDef& def : ParamTable::Entries()) {
        if (def.IsProgramCode() && def.Type() == 0 && !def.IsReadOnly()) {
            EXPECT_GE(def.storage, def.maximum + 1) << def.name;
        }
    }
}

// Characters map one to one onto stored bytes, so device texts in any code page survive.
TEST(ValueFormat, TextBytesRoundTrip)
{
    ConfigImage image;
    const DBParam& name = Param(5, 121);
    const QString text = QString::fromLatin1("\xC4\x8E\xFF\x80 A");
    ASSERT_TRUE(StoreValue(image, name, text));
    EXPECT_EQ(FormatValue(name, image).trimmed(), text);
}

TEST(ValueFormat, NumbersIgnoreTheProcessLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    ConfigImage image;
    const DBParam& pulses = Param(1, 102);
    const bool stored = StoreValue(image, pulses, QStringLiteral("5.5"));
    const QString text = FormatValue(pulses, image);
    const QString range = RangeText(*Param(4, 402).def);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_TRUE(stored);
    EXPECT_EQ(text, QStringLiteral("005.50"));
    EXPECT_EQ(range, QStringLiteral("(-9.99 - 9.99)"));
}

TEST(ValueFormat, RangeAndCommentTexts)
{
    struct Case {
        int section;
        int number;
        const char* range;
        const char* comment;
    };
    const Case cases[] = {
        {5, 121, "Enter up to 21 characters of text", " "},
        {11, 701, "Select desired option from list", " "},
        {4, 402, "(-9.99 - 9.99)", " "},
        {11, 705, "(0 - 999)", " "},
        {12, 814, "(0 - 1e+010)", " "},
        {11, 721, "(0 - 4294967296)", " "},
        {5, 165, "(1 - 3)", " "},
        {9, 512, "(50 - 90)", " "},
        {5, 102, "Enter up to 15 characters of text", "Read Only"},
    };
    for (const Case& c : cases) {
        const ParamDef& def = *Param(c.section, c.number).def;
        EXPECT_EQ(RangeText(def), QString::fromLatin1(c.range)) << def.name;
        EXPECT_EQ(CommentText(def), QString::fromLatin1(c.comment)) << def.name;
    }
}

TEST(ValueFormat, CheckTimeText)
{
    struct Case {
        const char* text;
        bool accepted;
        const char* after;
    };
    const Case cases[] = {
        {"08:30P", true, "08:30P"},
        {"23:59M", true, "23:59M"},
        {"12:00A", true, "12:00A"},
        {"00:15A", true, "00:15A"},
        {"08:30p", true, "08:30P"},   // the letter is upper-cased
        {"11:45m", true, "11:45M"},
        {"13:00P", false, "13:00P"},  // above 12 needs M
        {"8:30P", false, "8:30P"},    // third character is not the colon
        {"0:00M", false, "0:00M"},
        {"24:00M", false, "24:00M"},
        {"10:60A", false, "10:60A"},
        {"10:305A", false, "10:305A"}, // the minutes are the whole leading integer
        {"08:30", false, "08:30"},    // no letter
        {"08:3P", false, "08:3P"},    // letter before the sixth character
        {"08:30X", false, "08:30X"},
        {"-1:00P", false, "-1:00P"},  // hours are two digits
        {" 1:00P", false, " 1:00P"},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        QString text = QString::fromLatin1(c.text);
        EXPECT_EQ(CheckTimeText(text), c.accepted) << c.text;
        EXPECT_EQ(text, QString::fromLatin1(c.after)) << c.text;
    }
}

TEST(ValueFormat, OptionTextsInTheirThreeForms)
{
    ConfigImage image;
    const DBParam& function = Param(11, 701);
    ASSERT_TRUE(StoreValue(image, function, QStringLiteral("4")));
    const QString value = FormatValue(function, image);
    EXPECT_EQ(value, QStringLiteral("04"));
    EXPECT_EQ(OptionValueText(*function.def, value), QStringLiteral("04 Printer"));
    EXPECT_EQ(EditedOptionText(*function.def, 4), QStringLiteral("4 Printer"));

    const QStringList choices = OptionChoices(*function.def);
    ASSERT_EQ(choices.size(), 12);
    EXPECT_EQ(choices[0], QStringLiteral("00 NA"));
    EXPECT_EQ(choices[4], QStringLiteral("04 Printer"));
    EXPECT_EQ(choices[11], QStringLiteral("11 E+H Promass 83F/84F"));
    EXPECT_EQ(OptionValueFromChoice(4), QStringLiteral("4"));

    // A value outside the list names no option.
    EXPECT_EQ(OptionValueText(*function.def, QStringLiteral("12")), QStringLiteral("12"));
    EXPECT_EQ(OptionText(*function.def, 12), QString());
    EXPECT_EQ(OptionText(*function.def, -1), QString());
    EXPECT_EQ(EditedOptionText(*function.def, 12), QStringLiteral("12"));
    EXPECT_TRUE(OptionChoices(*Param(11, 705).def).isEmpty());

    const QStringList units = OptionChoices(*Param(5, 113).def);
    EXPECT_EQ(units, (QStringList{"0 gal", "1 BBL", "2 Dek", "3 Lit", "4 m3"}));
}

TEST(ValueFormat, SecurityLevelTexts)
{
    EXPECT_EQ(SecurityLevelChoices(), (QStringList{"Level 1", "Level 2", "Level 3"}));
    const int levels[] = {0, 1, 2, 3, 4};
    const int choices[] = {-1, 0, 1, 2, -1};
    const char* listed[] = {"N/A", "1", "2", "3", "4"};
    const char* refreshed[] = {"0", "1", "2", "3", "4"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(SecurityChoiceForLevel(levels[i]), choices[i]) << levels[i];
        EXPECT_EQ(SecurityLevelText(levels[i]), QString::fromLatin1(listed[i]));
        EXPECT_EQ(RefreshedSecurityLevelText(levels[i]), QString::fromLatin1(refreshed[i]));
    }
    EXPECT_EQ(LevelForSecurityChoice(2), 3);
}

TEST(ValueFormat, AlarmFlagsSplitAndJoin)
{
    EXPECT_EQ(SplitAlarmFlags(QStringLiteral("005")), (AlarmFlags{true, false, true}));
    EXPECT_EQ(SplitAlarmFlags(QStringLiteral("255")), (AlarmFlags{true, true, true}));
    EXPECT_EQ(SplitAlarmFlags(QStringLiteral("008")), (AlarmFlags{false, false, false}));
    EXPECT_EQ(JoinAlarmFlags({false, false, true}), QStringLiteral("4"));
    EXPECT_EQ(JoinAlarmFlags({true, true, true}), QStringLiteral("7"));
    EXPECT_EQ(JoinAlarmFlags({false, false, false}), QStringLiteral("0"));
    EXPECT_EQ(AlarmFlagLabel(2), QStringLiteral("Energize  Alarm Relay 2"));
}

TEST(ValueFormat, IpAddressConversions)
{
    const uint32_t address = (192u << 24) | (168u << 16) | (1u << 8) | 1u;
    EXPECT_EQ(IpFromValueText(QStringLiteral("3232235777")), address);
    EXPECT_EQ(IpFromValueText(QStringLiteral("          ")), 0u);
    EXPECT_EQ(IpOctets(address), (std::array<uint8_t, 4>{192, 168, 1, 1}));
    EXPECT_EQ(IpFromOctets({192, 168, 1, 1}), address);
    EXPECT_EQ(IpDottedText(address), QStringLiteral("192.168.1.1"));
    EXPECT_EQ(IpValueText(address), QStringLiteral("3232235777"));
    EXPECT_EQ(IpValueText(0xFFFFFFFFu), QStringLiteral("4294967295"));

    EXPECT_EQ(ParseDottedIp(QStringLiteral("192.168.1.1")), address);
    EXPECT_EQ(ParseDottedIp(QStringLiteral(" 0.0.0.0 ")), 0u);
    for (const char* bad : {"192.168.1", "192.168.1.256", "1.2.3.4.5", "a.b.c.d", "1..2.3", "-1.2.3.4", "1.2.3.0004"})
        EXPECT_EQ(ParseDottedIp(QString::fromLatin1(bad)), std::nullopt) << bad;

    // Stored and formatted as the document and the device see it.
    ConfigImage image;
    const DBParam& ip = Param(11, 721);
    ASSERT_TRUE(StoreValue(image, ip, IpValueText(*ParseDottedIp(QStringLiteral("192.168.1.1")))));
    EXPECT_EQ(IpDottedText(IpFromValueText(FormatValue(ip, image))), QStringLiteral("192.168.1.1"));
}
