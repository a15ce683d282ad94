// The configuration data file: exact bytes of a new document, round trips, both record
// layouts, version notices, where records land, and that no damaged file can crash the
// loader or change the document it failed to load into.
#include "CFileHeader.h"
#include "CquillTrakDoc.h"
#include "ScriptedUserInterface.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <random>

namespace {

QByteArray Le32(int32_t value)
{
    char bytes[4];
    qToLittleEndian<int32_t>(value, bytes);
    return QByteArray(bytes, 4);
}

QByteArray FloatBytes(float value)
{
    int32_t bits;
    std::memcpy(&bits, &value, 4);
    return Le32(bits);
}

struct Record {
    int32_t section;
    int32_t number; // the position in the older layout
    int32_t instance;
    int32_t sectionSize;
    uint8_t type;
    uint8_t level;
    QByteArray value;
};

QByteArray MakeFile(int32_t magic, float version, const std::vector<Record>& records, int32_t port = 1,
                    int32_t address = 1, int32_t reserved = 0)
{
    QByteArray out = CFileHeader(magic, version, "d", "n").ToBytes();
    out += Le32(port) + Le32(address) + Le32(0) + Le32(reserved);
    for (const Record& r : records) {
        out += Le32(r.section) + Le32(r.number) + Le32(r.instance) + Le32(r.sectionSize);
        out += char(r.type);
        out += char(r.level);
        out += r.value;
    }
    return out + Le32(53713);
}

QByteArray Text25(const char* text)
{
    QByteArray value(text);
    value.resize(25, '\0');
    return value;
}

QByteArray ImageBytes(const CquillTrakDoc& doc, ImageBlock block)
{
    const auto span = doc.Image().Block(block);
    return QByteArray(reinterpret_cast<const char*>(span.data()), qsizetype(span.size()));
}

QByteArray ValueBytes(const CquillTrakDoc& doc, const DBParam& p, int n)
{
    return QByteArray(reinterpret_cast<const char*>(doc.LocateValue(p).data()), n);
}

int ProgrammedCount(const CquillTrakDoc& doc)
{
    int n = 0;
    for (const DBParam* p = doc.Sections().Chain(); p; p = p->next)
        n += p->programmed;
    return n;
}

// Every program code programmed: texts of random length within their storage, numbers
// with random bytes, random levels 0-3.
void ProgramEverything(CquillTrakDoc& doc, uint32_t seed)
{
    std::mt19937 rng(seed);
    for (DBParam* p = doc.Sections().Chain(); p; p = p->next) {
        const std::span<uint8_t> value = doc.LocateValue(*p);
        if (p->def->type == ValueType::Text) {
            const size_t length = rng() % p->def->storage;
            for (size_t i = 0; i < length && i < value.size(); ++i)
                value[i] = uint8_t('A' + rng() % 26);
        } else {
            for (int i = 0; i < NumericSize(p->def->Type()); ++i)
                value[size_t(i)] = uint8_t(rng());
        }
        doc.SetSecurityLevel(*p, uint8_t(rng() % 4));
        p->programmed = 1;
    }
}

DBParam* At(CquillTrakDoc& doc, int section, int position)
{
    return doc.Sections().SectionParams(section).at(size_t(position));
}

} // namespace

TEST(ConfigFile, NewDocumentSavedAtOnceIs114ExactBytes)
{
    CquillTrakDoc doc;
    int connects = 0;
    doc.SetConnectHook([&](CquillTrakDoc&) { ++connects; });
    ProgramEverything(doc, 1);
    doc.currentSection = 5;
    doc.OnNewDocument();
    EXPECT_EQ(connects, 1);
    EXPECT_EQ(doc.currentSection, -1);
    EXPECT_EQ(ProgrammedCount(doc), 0);
    EXPECT_EQ(ImageBytes(doc, ImageBlock::Config), QByteArray(1828, '\0'));
    EXPECT_EQ(ImageBytes(doc, ImageBlock::RunData), QByteArray(3938, '\0'));

    QByteArray expected("\x39\x77\x00\x00\xCD\xCC\xCC\x3D", 8);
    QByteArray description("Corvantix.net Liquid Data File (.qd) ");
    description.resize(43, '\0');
    QByteArray notice("Liquid configuration data notice (2007).");
    notice.resize(43, '\0');
    expected += description + notice;
    expected += QByteArray("\x01\x00\x00\x00\x01\x00\x00\x00", 8) + QByteArray(8, '\0');
    expected += QByteArray("\xD1\xD1\x00\x00", 4);
    ASSERT_EQ(expected.size(), 114);
    EXPECT_EQ(doc.Store(), expected);
}

TEST(ConfigFile, FullyProgrammedDocumentRoundTripsByteForByte)
{
    CquillTrakDoc original;
    ProgramEverything(original, 20240611);
    original.port = 0;
    original.deviceAddress = 0xC0A80105u;
    original.reserved = 0x12345678;
    const QByteArray saved = original.Store();

    qsizetype expectedSize = 114;
    for (const DBParam* p = original.Sections().Chain(); p; p = p->next)
        expectedSize += 18 + FileValueSize(p->def->Type());
    EXPECT_EQ(saved.size(), expectedSize);

    CquillTrakDoc loaded;
    ScriptedUserInterface ui;
    ASSERT_TRUE(loaded.Load(saved, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ProgrammedCount(loaded), 275);
    EXPECT_EQ(loaded.port, 0);
    EXPECT_EQ(loaded.deviceAddress, 0xC0A80105u);
    EXPECT_EQ(loaded.reserved, 0x12345678);
    EXPECT_EQ(ImageBytes(loaded, ImageBlock::Config), ImageBytes(original, ImageBlock::Config));
    EXPECT_EQ(ImageBytes(loaded, ImageBlock::RunData), ImageBytes(original, ImageBlock::RunData));
    EXPECT_EQ(loaded.Store(), saved);
}

TEST(ConfigFile, OlderLayoutFindsRecordsByPosition)
{
    const struct {
        Record record;
        int section; // where it lands, -1 for nowhere
        int position;
    } cases[] = {
        {{5, 2, 0, 26, 6, 1, QByteArray(1, '\x07')}, 5, 2},
        {{1, 3, 0, 4, 6, 2, QByteArray(1, '\x07')}, 1, 3},
        {{14, 1, 3, 10, 0, 3, Text25("FUEL")}, 17, 1},
        {{14, 0, 1, 10, 6, 0, QByteArray(1, '\x07')}, 15, 0},
        {{17, 40, 0, 10, 6, 0, QByteArray(1, '\x07')}, -1, 0}, // past the end of the chain
        {{2, -1, 0, 3, 6, 0, QByteArray(1, '\x07')}, -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.record.section << "/" << c.record.number);
        CquillTrakDoc doc;
        ScriptedUserInterface ui;
        ASSERT_TRUE(doc.Load(MakeFile(30520, 0.1f, {c.record}), ui));
        EXPECT_TRUE(ui.messages.empty());
        if (c.section < 0) {
            EXPECT_EQ(ProgrammedCount(doc), 0);
            continue;
        }
        const DBParam* p = At(doc, c.section, c.position);
        EXPECT_EQ(ProgrammedCount(doc), 1);
        EXPECT_TRUE(p->programmed);
        EXPECT_EQ(ValueBytes(doc, *p, int(c.record.value.size())), c.record.value);
        EXPECT_EQ(doc.GetSecurityLevel(*p), p->def->HasSecurityLevel() ? c.record.level : 0);
    }
}

TEST(ConfigFile, VersionNoticesAreShownAndLoadingContinues)
{
    const QString lastSaved = QStringLiteral(
        "This file was last saved with Quarrant Liquid Revision 0.09\nProgram codes added after Revision 0.09 will "
        "not yet have values programmed.");
    const QString previous = QStringLiteral(
        "This file was saved with a previous version of Quarrant Liquid (0.05) that is not compatible with the "
        "current version.\nThe data loaded from the file may become corrupted when used with newer versions of "
        "quillTrak (revision 0.08 and above). \nIt is recommended that you either regenerate this data file by "
        "reading the data from the Pendralux again or \ninstall the matching Quarrant revision (0.05) to work with "
        "this file.");
    const auto newer = [](const char* v) {
        return QStringLiteral("This file was created with a newer revision Quarrant Liquid (Rev%1). Not all data will "
                              "be loaded.\nWarning: Saving the file from this Quarrant Liquid (rev 0.10) may result in "
                              "data loss.")
            .arg(QLatin1String(v));
    };
    const struct {
        int32_t magic;
        float version;
        QString notice; // empty: none
    } cases[] = {
        {30521, 0.09f, lastSaved},         {30521, 0.11f, newer("0.11")}, {30521, 0.1f, QString()},
        {30520, 0.05f, previous},          {30520, 0.2f, newer("0.20")},  {30520, 0.1f, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.magic << " " << c.version);
        // Position 1 in the older layout, number 202 in the current one: both are "202".
        const Record record{2, c.magic == 30520 ? 1 : 202, 0, 3, 6, 1, QByteArray(1, '\x05')};
        CquillTrakDoc doc;
        ScriptedUserInterface ui;
        ASSERT_TRUE(doc.Load(MakeFile(c.magic, c.version, {record}), ui));
        if (c.notice.isEmpty()) {
            EXPECT_TRUE(ui.messages.empty());
        } else {
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].text, c.notice);
            EXPECT_EQ(ui.messages[0].buttons, UserInterface::Buttons::Ok);
        }
        const DBParam* p = doc.Sections().Find(2, 202);
        EXPECT_TRUE(p->programmed);
        EXPECT_EQ(doc.LocateValue(*p)[0], 5);
    }
}

TEST(ConfigFile, RecordsOfRecipesSkipInstanceTimesTheStoredSectionSize)
{
    const struct {
        int32_t instance;
        int32_t storedSize;
        int section;
    } cases[] = {{2, 10, 16}, {0, 10, 14}, {3, 10, 17}, {2, 5, 15}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.instance << " x " << c.storedSize);
        CquillTrakDoc doc;
        ScriptedUserInterface ui;
        ASSERT_TRUE(doc.Load(MakeFile(30521, 0.1f, {{14, 2, c.instance, c.storedSize, 0, 2, Text25("DIESEL")}}), ui));
        EXPECT_EQ(ProgrammedCount(doc), 1);
        const DBParam* p = doc.Sections().Find(c.section, 2);
        EXPECT_TRUE(p->programmed);
        EXPECT_EQ(ValueBytes(doc, *p, 7), QByteArray("DIESEL", 7));
        // All four recipe instances share the level.
        EXPECT_EQ(doc.GetSecurityLevel(*doc.Sections().Find(14, 2)), 2);
    }

    // A recipe record is stored as section 14 with its instance.
    CquillTrakDoc doc;
    ScriptedUserInterface ui;
    const QByteArray file = MakeFile(30521, 0.1f, {{14, 2, 2, 10, 0, 2, Text25("DIESEL")}});
    ASSERT_TRUE(doc.Load(file, ui));
    EXPECT_EQ(doc.Store().mid(94), file.mid(94));
}

TEST(ConfigFile, NumbersAreSearchedAlongTheWholeChain)
{
    const struct {
        Record record;
        int section; // the section of the program code that receives it, -1 for none
    } cases[] = {
        {{1, 111, 0, 4, 6, 1, QByteArray(1, '\x01')}, 5},       // only in a later section
        {{5, 101, 0, 26, 0, 1, Text25("01/02/03")}, 5},         // Date, not section 1's 101
        {{1, 101, 0, 4, 6, 1, QByteArray(1, '\x01')}, 1},
        {{12, 111, 0, 18, 6, 1, QByteArray(1, '\x01')}, -1},    // only in an earlier section
        {{1, 999, 0, 4, 6, 1, QByteArray(1, '\x01')}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.record.section << "/" << c.record.number);
        CquillTrakDoc doc;
        ScriptedUserInterface ui;
        ASSERT_TRUE(doc.Load(MakeFile(30521, 0.1f, {c.record}), ui));
        if (c.section < 0) {
            EXPECT_EQ(ProgrammedCount(doc), 0);
            EXPECT_EQ(ImageBytes(doc, ImageBlock::Config), QByteArray(1828, '\0'));
            continue;
        }
        const DBParam* p = doc.Sections().Find(c.section, c.record.number);
        EXPECT_EQ(ProgrammedCount(doc), 1);
        EXPECT_TRUE(p->programmed);
        EXPECT_EQ(ValueBytes(doc, *p, int(c.record.value.size())), c.record.value);
    }
}

TEST(ConfigFile, TextRecordsWriteAllTwentyFiveBytes)
{
    QByteArray value;
    for (char ch = 'A'; ch < 'A' + 25; ++ch)
        value += ch;
    CquillTrakDoc doc;
    ScriptedUserInterface ui;
    ASSERT_TRUE(doc.Load(MakeFile(30521, 0.1f, {{5, 112, 0, 26, 0, 0, value}}), ui));
    const DBParam* p = doc.Sections().Find(5, 112); // 4 bytes of storage at 176
    ASSERT_EQ(p->def->location.offset, 176);
    const QByteArray image = ImageBytes(doc, ImageBlock::Config);
    EXPECT_EQ(image.mid(176, 25), value);
    EXPECT_EQ(image.count('\0'), 1828 - 25);
}

TEST(ConfigFile, RecordsThatLeadNowhereAreReadAndDropped)
{
    const QByteArray byte(1, '\x01');
    const Record dropped[] = {
        {-1, 111, 0, 26, 6, 1, byte},
        {18, 111, 0, 26, 6, 1, byte},
        {0, 111, 0, 0, 6, 1, byte},  // empty section
        {13, 1, 0, 0, 6, 1, byte},   // empty section
        {int32_t(0x7FFFFFFF), 111, 0, 26, 6, 1, byte},
        {5, 111, -1, 26, 6, 1, byte},
        {5, 111, 1, -26, 6, 1, byte},
        {5, 111, 1, 26, 6, 1, byte}, // one section size further there is no 111
        {14, 1, 1000000, 1000000, 6, 1, byte},
        {17, 1, 1, 10, 0, 1, Text25("x")},
    };
    for (const Record& r : dropped) {
        SCOPED_TRACE(testing::Message() << r.section << " " << r.number << " " << r.instance << " " << r.sectionSize);
        CquillTrakDoc doc;
        ScriptedUserInterface ui;
        // A good record follows, so the dropped one must have been read to its end.
        ASSERT_TRUE(doc.Load(MakeFile(30521, 0.1f, {r, {2, 203, 0, 3, 6, 2, byte}}), ui));
        EXPECT_EQ(ProgrammedCount(doc), 1);
        EXPECT_TRUE(doc.Sections().Find(2, 203)->programmed);
        QByteArray expected(1828, '\0');
        expected[doc.Sections().Find(2, 203)->def->location.offset] = 1;
        expected[doc.Sections().Find(2, 203)->def->securityOffset] = 2;
        EXPECT_EQ(ImageBytes(doc, ImageBlock::Config), expected);
        EXPECT_EQ(ImageBytes(doc, ImageBlock::RunData), QByteArray(3938, '\0'));
    }
}

TEST(ConfigFile, UnknownTypesCarryNoValueAndBadLevelsAreNotStored)
{
    CquillTrakDoc doc;
    ScriptedUserInterface ui;
    ASSERT_TRUE(doc.Load(MakeFile(30521, 0.1f,
                                  {{2, 201, 0, 3, 12, 1, QByteArray()},
                                   {2, 202, 0, 3, 6, 7, QByteArray(1, '\x04')},
                                   {2, 203, 0, 3, 6, 3, QByteArray(1, '\x05')}}),
                         ui));
    const DBParam* p201 = doc.Sections().Find(2, 201);
    const DBParam* p202 = doc.Sections().Find(2, 202);
    const DBParam* p203 = doc.Sections().Find(2, 203);
    EXPECT_TRUE(p201->programmed);
    EXPECT_EQ(doc.LocateValue(*p201)[0], 0);
    EXPECT_EQ(doc.GetSecurityLevel(*p201), 1);
    EXPECT_TRUE(p202->programmed);
    EXPECT_EQ(doc.LocateValue(*p202)[0], 4);
    EXPECT_EQ(doc.GetSecurityLevel(*p202), 0);
    EXPECT_EQ(doc.LocateValue(*p203)[0], 5);
    EXPECT_EQ(doc.GetSecurityLevel(*p203), 3);
}

TEST(ConfigFile, DamagedFilesFailAndLeaveTheDocumentAsItWas)
{
    const QByteArray good = MakeFile(30521, 0.1f,
                                     {{1, 101, 0, 4, 6, 1, QByteArray(1, '\x02')},
                                      {14, 2, 1, 10, 0, 2, Text25("GASOLINE")},
                                      {7, 322, 0, 39, 4, 3, FloatBytes(1.5f)}},
                                     3, 9, 4);
    CquillTrakDoc doc;
    ProgramEverything(doc, 7);
    doc.port = 2;
    doc.deviceAddress = 5;
    const QByteArray before = doc.Store();

    std::vector<QByteArray> bad;
    for (qsizetype n = 0; n < good.size(); ++n)
        bad.push_back(good.left(n));
    QByteArray wrongMagic = good;
    wrongMagic.replace(0, 4, Le32(30552));
    bad.push_back(wrongMagic);
    bad.push_back(CFileHeader::Configuration().ToBytes() + QByteArray(300, '\xAB'));
    bad.push_back(good.left(good.size() - 4) + QByteArray(2000, '\0')); // zeros in place of the end marker

    for (const QByteArray& file : bad) {
        SCOPED_TRACE(file.size());
        ScriptedUserInterface ui;
        EXPECT_FALSE(doc.Load(file, ui));
        EXPECT_EQ(doc.Store(), before);
    }

    // Bytes after the end marker are ignored.
    ScriptedUserInterface ui;
    ASSERT_TRUE(doc.Load(good + "trailing", ui));
    EXPECT_EQ(doc.port, 3);
    EXPECT_EQ(doc.deviceAddress, 9u);
    EXPECT_EQ(doc.reserved, 4);
    EXPECT_EQ(ValueBytes(doc, *doc.Sections().Find(15, 2), 9), QByteArray("GASOLINE", 9));
}

TEST(ConfigFile, RandomlyMutatedFilesNeverCrashAndLoadConsistently)
{
    CquillTrakDoc full;
    ProgramEverything(full, 99);
    const QByteArray seeds[] = {
        full.Store(),
        MakeFile(30520, 0.05f,
                 {{5, 3, 0, 26, 0, 1, Text25("ABC")}, {14, 9, 2, 10, 4, 2, FloatBytes(2.0f)},
                  {11, 0, 0, 50, 6, 3, QByteArray(1, '\x01')}}),
    };
    const QByteArray pristine = CquillTrakDoc().Store();

    std::mt19937 rng(12345);
    int loaded = 0;
    for (int round = 0; round < 400; ++round) {
        QByteArray file = seeds[round % 2];
        const int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits && !file.isEmpty(); ++e) {
            const qsizetype at = qsizetype(rng() % uint32_t(file.size()));
            switch (rng() % 4) {
            case 0:
                file[at] = char(file[at] ^ char(1 << (rng() % 8)));
                break;
            case 1:
                file[at] = char(rng());
                break;
            case 2:
                file.truncate(at);
                break;
            default:
                file.insert(at, QByteArray(1 + int(rng() % 8), char(rng())));
                break;
            }
        }
        SCOPED_TRACE(round);
        CquillTrakDoc doc;
        ScriptedUserInterface ui;
        if (!doc.Load(file, ui)) {
            EXPECT_EQ(doc.Store(), pristine);
            continue;
        }
        ++loaded;
        // Whatever was loaded saves to a file that loads back to the same document.
        const QByteArray saved = doc.Store();
        CquillTrakDoc again;
        ScriptedUserInterface quiet;
        ASSERT_TRUE(again.Load(saved, quiet));
        EXPECT_TRUE(quiet.messages.empty());
        EXPECT_EQ(again.Store(), saved);
    }
    EXPECT_GT(loaded, 0);
}

TEST(ConfigFile, SaveAndOpenThroughFilesWithTheirHooks)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("site.qcf"));

    const struct {
        int state;
        int logOffs;
    } states[] = {{CquillTrakDoc::Online, 1}, {CquillTrakDoc::ReadOnly, 0}, {CquillTrakDoc::Offline, 0},
                  {CquillTrakDoc::NoLink, 0}, {CquillTrakDoc::StateNone, 0}};
    CquillTrakDoc doc;
    ProgramEverything(doc, 3);
    for (const auto& s : states) {
        SCOPED_TRACE(s.state);
        int logOffs = 0;
        doc.SetLogOffHook([&](CquillTrakDoc&) { ++logOffs; });
        doc.connectionState = s.state;
        QString error;
        ASSERT_TRUE(doc.SaveFile(path, &error)) << error.toStdString();
        EXPECT_EQ(logOffs, s.logOffs);
    }
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), doc.Store());

    // A failed save reports why and does not log off.
    int logOffs = 0;
    doc.SetLogOffHook([&](CquillTrakDoc&) { ++logOffs; });
    doc.connectionState = CquillTrakDoc::Online;
    QString error;
    EXPECT_FALSE(doc.SaveFile(dir.filePath(QStringLiteral("missing/site.qcf")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(logOffs, 0);

    CquillTrakDoc opened;
    int connects = 0;
    opened.SetConnectHook([&](CquillTrakDoc&) { ++connects; });
    ScriptedUserInterface ui;
    ASSERT_TRUE(opened.OpenFile(path, ui, &error));
    EXPECT_EQ(connects, 1);
    EXPECT_EQ(opened.Store(), doc.Store());

    // A bad file or a missing one: no connection attempt.
    const QString badPath = dir.filePath(QStringLiteral("report.qcf"));
    QFile bad(badPath);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(CFileHeader::Report().ToBytes() + Le32(0));
    bad.close();
    error.clear();
    EXPECT_FALSE(opened.OpenFile(badPath, ui, &error));
    EXPECT_EQ(error, QStringLiteral("Unexpected file format."));
    error.clear();
    EXPECT_FALSE(opened.OpenFile(dir.filePath(QStringLiteral("none.qcf")), ui, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_NE(error, QStringLiteral("Unexpected file format."));
    EXPECT_EQ(connects, 1);
}
