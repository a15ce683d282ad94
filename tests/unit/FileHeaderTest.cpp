// The 94-byte document file header: the values of each document kind, the text copy rule,
// and reading back from bytes and from a stream.
#include "CFileHeader.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDataStream>

namespace {

struct KindCase {
    const char* kind;
    CFileHeader (*make)();
    int32_t magic;
    const char* description;
    const char* notice;
};

const KindCase kKinds[] = {
    {"configuration", &CFileHeader::Configuration, 30521, "Corvantix.net Liquid Data File (.qd) ",
     "Liquid configuration data notice (2007)."},
    {"report", &CFileHeader::Report, 30552, "Quarrant Report Def (.RPF)", "Data file notice (2007)."},
    {"display", &CFileHeader::Display, 30600, "Quarrant Gas Display Def (.DPG)", "Data file notice (2007)."},
    {"translation", &CFileHeader::Translation, 30536, "Quarrant Translation (.LGF)", "Data file notice (2007)."},
    {"equation set", &CFileHeader::EquationSet, 30568, "QUARRANT EquationSet(.EQF)", "Data file notice (2007)."},
};

QByteArray Text43(const char* text)
{
    QByteArray out(text);
    out.resize(43, '\0');
    return out;
}

} // namespace

TEST(FileHeader, EveryKindWritesItsMagicRevisionAndTexts)
{
    for (const KindCase& k : kKinds) {
        SCOPED_TRACE(k.kind);
        const QByteArray bytes = k.make().ToBytes();
        ASSERT_EQ(bytes.size(), 94);
        const uint8_t magicLe[4] = {uint8_t(k.magic & 0xFF), uint8_t(k.magic >> 8), 0, 0};
        EXPECT_EQ(bytes.left(4), QByteArray(reinterpret_cast<const char*>(magicLe), 4));
        EXPECT_EQ(bytes.mid(4, 4), QByteArray("\xCD\xCC\xCC\x3D", 4));
        EXPECT_EQ(bytes.mid(8, 43), Text43(k.description));
        EXPECT_EQ(bytes.mid(51, 43), Text43(k.notice));
    }
}

TEST(FileHeader, TextsAreCutTo42CharactersAndAlwaysEndInNul)
{
    const QByteArray exactly42(42, 'x');
    const QByteArray longer = QByteArray(42, 'y') + "overflow";
    const struct {
        QByteArray in;
        QByteArray stored; // all 43 bytes
    } cases[] = {
        {exactly42, exactly42 + QByteArray(1, '\0')},
        {longer, QByteArray(42, 'y') + QByteArray(1, '\0')},
        {QByteArray(), QByteArray(43, '\0')},
        {QByteArray("ab\0cd", 5), Text43("ab")}, // a NUL ends the text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in.toStdString());
        const QByteArray bytes = CFileHeader(1, 0.1f, c.in, c.in).ToBytes();
        EXPECT_EQ(bytes.mid(8, 43), c.stored);
        EXPECT_EQ(bytes.mid(51, 43), c.stored);
    }
}

TEST(FileHeader, ReadTakesAnyTextBytesAndNeedsAllNinetyFourBytes)
{
    // Texts without any NUL still load: only magic and version word matter to readers.
    QByteArray bytes("\x48\x77\x00\x00\x0A\xD7\xA3\x3D", 8); // 30536, 0.08f
    bytes += QByteArray(43, '\xFF') + QByteArray(43, 'n');
    CFileHeader header = CFileHeader::Configuration();
    ASSERT_TRUE(header.Read(bytes));
    EXPECT_EQ(header.Magic(), 30536);
    EXPECT_EQ(header.Version(), 0.08f);
    EXPECT_EQ(header.Description(), QByteArray(43, '\xFF'));
    EXPECT_EQ(header.Notice(), QByteArray(43, 'n'));
    EXPECT_EQ(header.ToBytes(), bytes);

    // A short buffer fails and leaves the header as it was.
    CFileHeader untouched = CFileHeader::Report();
    EXPECT_FALSE(untouched.Read(QByteArrayView(bytes).first(93)));
    EXPECT_EQ(untouched.ToBytes(), CFileHeader::Report().ToBytes());
}

TEST(FileHeader, StreamRoundTripIgnoresTheStreamByteOrder)
{
    for (const QDataStream::ByteOrder order : {QDataStream::BigEndian, QDataStream::LittleEndian}) {
        QByteArray buffer;
        {
            QDataStream out(&buffer, QIODevice::WriteOnly);
            out.setByteOrder(order);
            CFileHeader::EquationSet().Write(out);
            out << qint32(7); // the body follows directly
        }
        EXPECT_EQ(buffer.left(94), CFileHeader::EquationSet().ToBytes());

        QDataStream in(buffer);
        in.setByteOrder(order);
        CFileHeader header = CFileHeader::Configuration();
        ASSERT_TRUE(header.Read(in));
        EXPECT_EQ(header.Magic(), CFileHeader::kEquationSetMagic);
        EXPECT_EQ(header.Description(), QByteArray("QUARRANT EquationSet(.EQF)"));
        qint32 body = 0;
        in >> body;
        EXPECT_EQ(body, 7);
    }

    QByteArray shortFile = CFileHeader::Report().ToBytes().left(50);
    QDataStream in(shortFile);
    CFileHeader header = CFileHeader::Display();
    EXPECT_FALSE(header.Read(in));
    EXPECT_NE(in.status(), QDataStream::Ok);
    EXPECT_EQ(header.Magic(), CFileHeader::kDisplayMagic);
}
