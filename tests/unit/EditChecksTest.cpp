// The OK checks of the parameter edit dialogs and the offline store of an accepted edit.
#include "ConfigImage.h"
#include "EditChecks.h"
#include "ParamEdit.h"
#include "SectionLists.h"
#include "ValueFormat.h"

#include <gtest/gtest.h>

namespace {

struct Document {
    SectionLists lists;
    ConfigImage image;

    DBParam& Param(int section, int number)
    {
        DBParam* p = lists.Find(section, number);
        EXPECT_NE(p, nullptr) << "section " << section << " code " << number;
        static DBParam none;
        return p ? *p : none;
    }
};

const ParamDef& Def(int section, int number)
{
    static Document document;
    return *document.Param(section, number).def;
}

} // namespace

TEST(EditChecks, GeneralDialogChecksOnOk)
{
    struct Case {
        int section;
        int number;
        const char* text;
        const char* message; // nullptr when accepted
        const char* after;   // the text after the check (733's letter is upper-cased)
    };
    const Case cases[] = {
        {5, 121, "123456789012345678901", nullptr, nullptr},
        {5, 121, "1234567890123456789012", "Enter no more than 21 characters.", nullptr},
        {5, 112, "GPMX", "Enter no more than 3 characters.", nullptr},
        {5, 112, "", nullptr, nullptr},
        {11, 733, "08:30p", nullptr, "08:30P"},
        {11, 733, "23:59M", nullptr, nullptr},
        {11, 733, "13:00P",
         "Must be valid time string of form HH:MMT where T=A (AM), P (PM) or M (Military)", nullptr},
        {11, 733, "8:30P",
         "Must be valid time string of form HH:MMT where T=A (AM), P (PM) or M (Military)", nullptr},
        {11, 733, "08:30PM", "Enter no more than 6 characters.", nullptr}, // length comes first
        {4, 402, "9.99", nullptr, nullptr},
        {4, 402, "-9.99", nullptr, nullptr},
        {4, 402, "10", "Enter a number between -9.99 and 9.99.", nullptr},
        {4, 402, "9,5", nullptr, nullptr},              // read with the store's decimal comma
        {4, 402, "9,995", "Enter a number between -9.99 and 9.99.", nullptr},
        {1, 102, "999.99", nullptr, nullptr},           // the bounds compare as singles
        {1, 102, "999.995", "Enter a number between 0 and 999.99.", nullptr},
        {12, 814, "9999998976", nullptr, nullptr},
        // The table's maximum is the single just below 1e10, which the message rounds up.
        {12, 814, "1e10", "Enter a number between 0 and 1e+010.", nullptr},
        {7, 301, "1000000.01", nullptr, nullptr},       // rounds to the maximum as a single
        {7, 301, "1000001", "Enter a number between 0 and 1e+006.", nullptr},
        {11, 705, "abc", nullptr, nullptr},             // letters read as 0, which is in range
        {5, 165, "abc", "Enter a number between 1 and 3.", nullptr},
        {5, 131, "2.7", nullptr, nullptr},              // stored as 2
        {5, 131, "99.5", "Enter a number between 0 and 99.", nullptr},
        {5, 131, "-0.5", "Enter a number between 0 and 99.", nullptr},
        {5, 165, "0x2", "Enter a number between 1 and 3.", nullptr}, // atof 2, but stores 0
        {9, 512, "49", "Enter a number between 50 and 90.", nullptr},
        {11, 721, "4294967295", nullptr, nullptr},
        {11, 721, "-1", "Enter a number between 0 and 4.29497e+009.", nullptr},
        {4, 402, "nan", "Enter a number between -9.99 and 9.99.", nullptr},
    };
    for (const Case& c : cases) {
        const ParamDef& def = Def(c.section, c.number);
        QString text = QString::fromLatin1(c.text);
        const std::optional<QString> message = CheckGeneralEdit(def, text);
        if (c.message)
            EXPECT_EQ(message, QString::fromLatin1(c.message)) << def.name << " " << c.text;
        else
            EXPECT_EQ(message, std::nullopt) << def.name << " " << c.text;
        EXPECT_EQ(text, QString::fromLatin1(c.after ? c.after : c.text)) << def.name;
    }
}

TEST(EditChecks, OptionNumberMustLieInTheRange)
{
    const ParamDef& function = Def(11, 701); // 0 to 11
    EXPECT_EQ(CheckOptionNumber(function, 0), std::nullopt);
    EXPECT_EQ(CheckOptionNumber(function, 11), std::nullopt);
    EXPECT_EQ(CheckOptionNumber(function, 12), QStringLiteral("Enter a number between 0 and 11."));
    EXPECT_EQ(CheckOptionNumber(function, -1), QStringLiteral("Enter a number between 0 and 11."));
}

TEST(ParamEdit, ChoosesTheDialogByKind)
{
    struct Case {
        int section;
        int number;
        ParamEdit::DialogKind kind;
    };
    const Case cases[] = {
        {10, 611, ParamEdit::DialogKind::Alarm},     // directory 6
        {10, 681, ParamEdit::DialogKind::Alarm},     // directory 7
        {11, 701, ParamEdit::DialogKind::List},
        {11, 721, ParamEdit::DialogKind::IPAddress},
        {7, 334, ParamEdit::DialogKind::IPAddress},
        {7, 362, ParamEdit::DialogKind::General},    // UInt32 outside directory 3
        {5, 121, ParamEdit::DialogKind::General},
        {4, 402, ParamEdit::DialogKind::General},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParamEdit::ChooseDialog(Def(c.section, c.number)), c.kind) << Def(c.section, c.number).name;
}

TEST(ParamEdit, HelpContextIds)
{
    Document doc;
    EXPECT_EQ(ParamEdit::HelpContextId(doc.Param(1, 101)), 10101);
    EXPECT_EQ(ParamEdit::HelpContextId(doc.Param(11, 721)), 11721);
    EXPECT_EQ(ParamEdit::HelpContextId(doc.Param(15, 2)), 15002);
}

TEST(ParamEdit, OfflineStoreSetsValueProgrammedAndLevel)
{
    Document doc;
    DBParam& units = doc.Param(5, 113);
    EXPECT_EQ(ParamEdit::StoreOffline(doc.image, units, OptionValueFromChoice(3), 2), std::nullopt);
    EXPECT_EQ(FormatValue(units, doc.image), QStringLiteral("3"));
    EXPECT_EQ(units.programmed, 1);
    EXPECT_EQ(doc.image.GetSecurityLevel(units), 2);

    // Without a level the stored one stays.
    EXPECT_EQ(ParamEdit::StoreOffline(doc.image, units, QStringLiteral("4")), std::nullopt);
    EXPECT_EQ(doc.image.GetSecurityLevel(units), 2);

    // No security level: the value is stored, no level byte is written.
    DBParam& securityInput = doc.Param(5, 164);
    EXPECT_EQ(ParamEdit::StoreOffline(doc.image, securityInput, QStringLiteral("3"), 3), std::nullopt);
    EXPECT_EQ(FormatValue(securityInput, doc.image), QStringLiteral("3"));
    EXPECT_EQ(doc.image.GetSecurityLevel(securityInput), 0);

    // The time text is stored with its letter upper-cased.
    DBParam& printTime = doc.Param(11, 733);
    EXPECT_EQ(ParamEdit::StoreOffline(doc.image, printTime, QStringLiteral("07:45a"), 1), std::nullopt);
    EXPECT_EQ(FormatValue(printTime, doc.image), QStringLiteral("07:45A"));

    // A recipe edit in "Recipe 2" stores instance 1 and sets the shared level.
    DBParam& used2 = doc.Param(15, 1);
    DBParam& used1 = doc.Param(14, 1);
    EXPECT_EQ(ParamEdit::StoreOffline(doc.image, used2, QStringLiteral("1"), 3), std::nullopt);
    EXPECT_EQ(FormatValue(used2, doc.image), QStringLiteral("1"));
    EXPECT_EQ(FormatValue(used1, doc.image), QStringLiteral("0"));
    EXPECT_EQ(used1.programmed, 0);
    EXPECT_EQ(doc.image.GetSecurityLevel(used1), 3);
}

TEST(ParamEdit, AlarmAndIpDialogValuesAreStored)
{
    Document doc;
    DBParam& alarm = doc.Param(10, 611);
    ASSERT_EQ(ParamEdit::StoreOffline(doc.image, alarm, QStringLiteral("5")), std::nullopt);
    AlarmFlags flags = SplitAlarmFlags(FormatValue(alarm, doc.image));
    EXPECT_EQ(flags, (AlarmFlags{true, false, true}));
    flags[0] = false;
    ASSERT_EQ(ParamEdit::StoreOffline(doc.image, alarm, JoinAlarmFlags(flags), 1), std::nullopt);
    EXPECT_EQ(FormatValue(alarm, doc.image), QStringLiteral("004"));

    DBParam& ip = doc.Param(11, 721);
    ASSERT_EQ(ParamEdit::StoreOffline(doc.image, ip, IpValueText(IpFromOctets({192, 168, 1, 1}))), std::nullopt);
    EXPECT_EQ(FormatValue(ip, doc.image), QStringLiteral("3232235777"));
    ASSERT_EQ(ParamEdit::StoreOffline(doc.image, ip, IpValueText(0xFFFFFFFFu)), std::nullopt);
    EXPECT_EQ(FormatValue(ip, doc.image), QStringLiteral("4294967295"));
}

// A refused edit leaves value, programmed flag and level exactly as they were.
TEST(ParamEdit, RefusedEditsChangeNothing)
{
    struct Case {
        int section;
        int number;
        const char* text;
        std::optional<int> level;
        const char* message;
    };
    const Case cases[] = {
        {5, 102, "10:00:00", 1,
         "You can only read this program code.\nUse the SD command in Terminal Emulator to set time/date."},
        {5, 101, "01/01/24", std::nullopt,
         "You can only read this program code.\nUse the SD command in Terminal Emulator to set time/date."},
        {4, 402, "12", 2, "Enter a number between -9.99 and 9.99."},
        {5, 121, "1234567890123456789012", 2, "Enter no more than 21 characters."},
        {11, 733, "25:00M", 2,
         "Must be valid time string of form HH:MMT where T=A (AM), P (PM) or M (Military)"},
        {10, 611, "256", 2, "Enter a number between 0 and 255."},
        {5, 113, "1", 4, "Security level 4 is not one of 1, 2 or 3."},
    };
    for (const Case& c : cases) {
        Document doc;
        DBParam& p = doc.Param(c.section, c.number);
        const QByteArray before(reinterpret_cast<const char*>(doc.image.Block(ImageBlock::Config).data()),
                                ConfigImage::kConfigSize);
        const QByteArray beforeRun(reinterpret_cast<const char*>(doc.image.Block(ImageBlock::RunData).data()),
                                   ConfigImage::kRunDataSize);
        EXPECT_EQ(ParamEdit::StoreOffline(doc.image, p, QString::fromLatin1(c.text), c.level),
                  QString::fromLatin1(c.message)) << p.def->name;
        EXPECT_EQ(p.programmed, 0) << p.def->name;
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(doc.image.Block(ImageBlock::Config).data()),
                             ConfigImage::kConfigSize), before) << p.def->name;
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(doc.image.Block(ImageBlock::RunData).data()),
                             ConfigImage::kRunDataSize), beforeRun) << p.def->name;
    }
}
