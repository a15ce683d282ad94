// The static program-code table, the register ids and the section lists built from it.
#include "Directory.h"
#include "ParamTable.h"
#include "RegisterTable.h"
#include "SectionLists.h"
#include "ConfigImage.h"
#include "LiteralTable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

TEST(ProgramTable, CountsByTypeAndDirectory)
{
    ASSERT_EQ(ParamTable::Entries().size(), 578u);
    std::map<int, int> byType;
    std::map<int, int> byDirectory;
    for (const ParamDef& d : ParamTable::Entries()) {
        ++byType[d.Type()];
        ++byDirectory[d.directory];
    }
    const std::map<int, int> expectedTypes = {{0, 83}, {4, 113}, {5, 38}, {6, 166}, {7, 82}, {8, 26}, {9, 70}};
    EXPECT_EQ(byType, expectedTypes);
    const int expectedDirs[36] = {0, 9, 5, 49, 5, 17, 37, 5, 19, 13, 12, 21, 46, 10, 22, 114, 39, 15,
                                  0, 23, 1, 3, 6, 1, 41, 0, 0, 0, 10, 18, 1, 10, 0, 0, 0, 26};
    int config = 0;
    for (int dir = 0; dir < 36; ++dir) {
        EXPECT_EQ(byDirectory[dir], expectedDirs[dir]) << "directory " << dir;
        if (dir < 14)
            config += byDirectory[dir];
    }
    EXPECT_EQ(config, 248);
}

TEST(ProgramTable, TableOrderAndIndicesAreConsistent)
{
    int previousKey = -1;
    std::map<std::pair<int, int>, int> nextIndex;
    for (const ParamDef& d : ParamTable::Entries()) {
        const int key = d.Type() * 36 + d.directory;
        EXPECT_GE(key, previousKey) << d.name;
        previousKey = key;
        EXPECT_EQ(d.index, (nextIndex[{d.Type(), d.directory}]++)) << d.name;
        EXPECT_EQ(FindRegister(MakeRegisterId(d, 0)), &d) << d.name;
    }
}

TEST(ProgramTable, LocationsStayInsideTheirBlocks)
{
    for (const ParamDef& d : ParamTable::Entries()) {
        const int blockSize = d.location.block == ImageBlock::Config ? ConfigImage::kConfigSize : ConfigImage::kRunDataSize;
        const int instances = d.instanceCount > 1 ? d.instanceCount : 1;
        const int end = ConfigImage::Offset(d, instances - 1) + d.storage;
        EXPECT_LE(end, blockSize) << d.name;
        EXPECT_GT(d.storage, 0) << d.name;
        if (d.Type() != 0)
            EXPECT_EQ(d.storage, NumericSize(d.Type())) << d.name;
        if (d.HasSecurityLevel())
            EXPECT_LT(d.securityOffset, ConfigImage::kConfigSize) << d.name;
    }
}

TEST(ProgramTable, NoTwoValuesShareABytes)
{
    std::map<std::pair<int, int>, const char*> owner;
    for (const ParamDef& d : ParamTable::Entries()) {
        const int instances = d.instanceCount > 1 ? d.instanceCount : 1;
        for (int i = 0; i < instances; ++i) {
            for (int b = 0; b < d.storage; ++b) {
                const auto key = std::make_pair(int(d.location.block), ConfigImage::Offset(d, i) + b);
                auto [it, fresh] = owner.emplace(key, d.name);
                EXPECT_TRUE(fresh) << d.name << " overlaps " << it->second << " at " << key.second;
            }
        }
    }
    std::set<int> levels;
    for (const ParamDef& d : ParamTable::Entries()) {
        if (!d.HasSecurityLevel())
            continue;
        EXPECT_TRUE(levels.insert(d.securityOffset).second) << d.name;
        EXPECT_EQ(owner.count({0, d.securityOffset}), 0u) << d.name << " level byte lies on a value";
    }
}

TEST(ProgramTable, ProgramCodeAttributesSpotChecks)
{
    struct Case {
        int section;
        int number;
        const char* name;
        ValueType type;
        int width;
        int precision;
        float minimum;
        float maximum;
        const char* format;
        int offset;
        int securityOffset;
        int optionList;
    };
    const Case cases[] = {
        {1, 101, "101 Pulse Output Function", ValueType::UInt8, 1, 1, 0, 1, "%*.*u", 1337, 1141, 87},
        {1, 102, "102 Pulse Out 1 Pulses/Amount", ValueType::Float, 6, 2, 0, 999.99f, "%*.*f", 1340, 1069, -1},
        {4, 402, "402 Analog I/O 1 RTD Offset", ValueType::Float, 5, 2, -9.99f, 9.99f, "%*.*f", 512, 1066, -1},
        {5, 101, "101 Date{O}", ValueType::Text, 9, 9, 0, 15, "%*.*s", 46, 1044, -1},
        {5, 112, "112 Flow Rate Descriptor", ValueType::Text, 3, 3, 0, 3, "%*.*s", 176, 1046, -1},
        {5, 164, "164 Level for Security Input", ValueType::UInt16, 1, 1, 0, 3, "%*.*u", 1354, -1, -1},
        {7, 301, "301 K Factor", ValueType::Double, 10, 3, 0, 1000000, "%*.*f", 1520, 1129, -1},
        {7, 362, "362 Mass Meter Sequence Number", ValueType::UInt32, 5, 0, 0, 99999, "%*.*lu", 1572 + 6, 1291, -1},
        {8, 412, "412 API Table", ValueType::UInt8, 2, 2, 0, 40, "%*.*u", 1684, 1265, 453},
        {11, 721, "721 IP Address", ValueType::UInt32, 10, 0, 0, 4294967296.0f, "%*.*lu", 150, 1287, -1},
        {12, 814, "814 Inject to Totals Convert", ValueType::Float, 12, 6, 0, 9999998976.0f, "%*.*e", 596, 1072, -1},
        {14, 2, "002 Recipe Name", ValueType::Text, 9, 9, 0, 9, "%*.*s", 792, 1065, -1},
    };
    SectionLists lists;
    for (const Case& c : cases) {
        const DBParam* p = lists.Find(c.section, c.number);
        ASSERT_NE(p, nullptr) << c.name;
        const ParamDef& d = *p->def;
        EXPECT_STREQ(d.name, c.name);
        EXPECT_EQ(d.type, c.type) << c.name;
        EXPECT_EQ(d.width, c.width) << c.name;
        EXPECT_EQ(d.precision, c.precision) << c.name;
        EXPECT_EQ(d.minimum, c.minimum) << c.name;
        EXPECT_EQ(d.maximum, c.maximum) << c.name;
        EXPECT_STREQ(d.format, c.format) << c.name;
        EXPECT_EQ(d.location.offset, c.offset) << c.name;
        EXPECT_EQ(d.securityOffset, c.securityOffset) << c.name;
        EXPECT_EQ(d.optionList, c.optionList) << c.name;
    }
    // The device's own name and help line of 112.
    const ParamDef& flowDescriptor = *lists.Find(5, 112)->def;
    EXPECT_STREQ(Literal(flowDescriptor.nameLiteral), "112 Flow Descript");
    EXPECT_EQ(flowDescriptor.helpLiteral, 204);
    // 101 Date is shown nine wide and its storage ends where 102 Time begins.
    EXPECT_EQ(lists.Find(5, 101)->def->storage, 9);
}

TEST(ProgramTable, OptionListsMatchTheirTexts)
{
    SectionLists lists;
    const DBParam* comm1 = lists.Find(11, 701);
    ASSERT_NE(comm1, nullptr);
    EXPECT_STREQ(Literal(comm1->def->optionList + 4), "Printer");
    EXPECT_STREQ(Literal(lists.Find(5, 142)->def->optionList + 2), "Time Pacing");
    for (DBParam* p = lists.Chain(); p; p = p->next) {
        if (!p->def->HasOptions())
            continue;
        EXPECT_EQ(p->def->Type(), int(ValueType::UInt8)) << p->def->name;
        EXPECT_LT(p->def->optionList + int(p->def->maximum), kLiteralCount - 1) << p->def->name;
    }
}

TEST(RegisterIds, ExamplesAndRejections)
{
    const ParamDef* userFloat = FindRegister(0x041F0003u);
    ASSERT_NE(userFloat, nullptr);
    EXPECT_STREQ(userFloat->name, "User Float Register");
    EXPECT_EQ(userFloat->instanceCount, 50);
    EXPECT_EQ(MakeRegisterId(*userFloat, 3), 0x041F0003u);

    SectionLists lists;
    const DBParam* recipeName = lists.Find(17, 2);
    ASSERT_NE(recipeName, nullptr);
    EXPECT_EQ(recipeName->instance, 3);
    EXPECT_EQ(MakeRegisterId(*recipeName->def, recipeName->instance + 1), (13u << 16) + 4u);

    // Types without registers, out-of-range directory and index past the slot's count.
    for (RegisterId id : {0x01000000u, 0x02030000u, 0x03000000u, 0x0A000000u, 0x00240000u, 0x04240000u}) {
        EXPECT_EQ(FindRegister(id), nullptr) << std::hex << id;
    }
    const auto slot = ParamTable::Slot(4, 31);
    EXPECT_EQ(FindRegister((4u << 24) | (31u << 16) | (uint32_t(slot.size()) << 8)), nullptr);
    EXPECT_EQ(FindRegister((4u << 24) | (31u << 16) | (uint32_t(slot.size() - 1) << 8)), &slot.back());

    // Instance normalisation of the register browser.
    EXPECT_EQ(NormaliseInstance(*userFloat, 0), 1);
    EXPECT_EQ(NormaliseInstance(*userFloat, 7), 7);
    EXPECT_EQ(NormaliseInstance(*lists.Find(5, 111)->def, 5), 0);
}

TEST(RegisterIds, RunDataRegistersInIndexOrder)
{
    struct Case {
        int type;
        int directory;
        int index;
        const char* name;
        int instances;
    };
    const Case cases[] = {
        {0, 14, 0, "Time of Last Power Fail", 0},
        {9, 14, 4, "Printing in Progress", 0},
        {8, 15, 0, "ROM CRC", 0},
        {9, 20, 0, "Current Digital I/O State", 9},
        {5, 22, 5, "Recipe NSV Non-resettable Volume", 4},
        {9, 28, 9, "UA: Add Unauthorize Failed", 4},
        {6, 31, 0, "User Boolean Register", 50},
        {8, 35, 2, "Reserved - future", 0},
    };
    for (const Case& c : cases) {
        const ParamDef* d = FindRegister((uint32_t(c.type) << 24) | (uint32_t(c.directory) << 16) | (uint32_t(c.index) << 8));
        ASSERT_NE(d, nullptr) << c.name;
        EXPECT_STREQ(d->name, c.name);
        EXPECT_EQ(d->instanceCount, c.instances) << c.name;
    }
    EXPECT_STREQ(DirectoryTitle(31), "User Data");
    EXPECT_EQ(Directory(31)->kind, DirectoryKind::Configuration);
    EXPECT_EQ(Directory(29)->kind, DirectoryKind::Command);
    EXPECT_EQ(Directory(36), nullptr);
}

TEST(SectionLists, SizesChainAndInstances)
{
    SectionLists lists;
    EXPECT_EQ(lists.Count(), 275);
    const int sizes[18] = {0, 4, 3, 6, 5, 26, 9, 39, 10, 18, 49, 48, 18, 0, 10, 10, 10, 10};
    int total = 0;
    for (int s = 0; s < 18; ++s) {
        const auto params = lists.SectionParams(s);
        EXPECT_EQ(int(params.size()), sizes[s]) << "section " << s;
        total += int(params.size());
        int previous = -1;
        for (size_t k = 0; k < params.size(); ++k) {
            EXPECT_EQ(params[k]->position, int(k));
            EXPECT_EQ(params[k]->sectionSize, sizes[s]);
            EXPECT_EQ(params[k]->section, s >= 14 ? 14 : s);
            EXPECT_EQ(params[k]->instance, s >= 14 ? s - 14 : 0);
            EXPECT_GE(params[k]->number, previous);
            EXPECT_FALSE(params[k]->programmed);
            previous = params[k]->number;
        }
    }
    EXPECT_EQ(total, 275);
    EXPECT_EQ(lists.First(0), nullptr);
    EXPECT_EQ(lists.First(13), nullptr);
    // The access codes are in no section; 164 and 165 are, without a security level.
    for (DBParam* p = lists.Chain(); p; p = p->next)
        EXPECT_FALSE(p->number >= 161 && p->number <= 163 && p->section == 5) << p->def->name;
    EXPECT_FALSE(lists.Find(5, 164)->def->HasSecurityLevel());
    EXPECT_TRUE(lists.Find(5, 101)->IsReadOnly());
    EXPECT_FALSE(lists.Find(1, 101)->IsReadOnly());
}

TEST(SectionLists, RecipeInstancesShareOneSecurityLevel)
{
    SectionLists lists;
    ConfigImage image;
    image.SetSecurityLevel(*lists.Find(15, 1), 2);
    for (int s = 14; s < 18; ++s)
        EXPECT_EQ(image.GetSecurityLevel(*lists.Find(s, 1)), 2) << "section " << s;
    // Values of the instances are 52 bytes apart.
    EXPECT_EQ(image.LocateValue(*lists.Find(16, 2)).data() - image.LocateValue(*lists.Find(14, 2)).data(), 104);
    // Programs without a level location ignore a level.
    image.SetSecurityLevel(*lists.Find(5, 164), 3);
    EXPECT_EQ(image.GetSecurityLevel(*lists.Find(5, 164)), 0);
}
