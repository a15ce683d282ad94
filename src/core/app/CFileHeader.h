// The 94-byte header at the start of every document file: magic (the document kind), version
// word (the single-precision application revision that wrote the file), then a description
// and a notice of 43 bytes each. Integers are little-endian whatever the host or stream byte
// order. Each text holds at most 42 characters and is NUL-padded, so a header built here
// always ends its texts with NUL; a header read from a file keeps whatever 43 bytes it held.
// Reading checks nothing but the length: the owning document judges magic and version.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <cstdint>

class QDataStream;

class CFileHeader {
public:
    static constexpr int kSize = 94;
    static constexpr int kTextSize = 43;
    static constexpr int kMaxTextLength = kTextSize - 1;

    // The revision every writer puts into the version word (bit pattern 3DCCCCCD).
    static constexpr float kApplicationRevision = 0.1f;

    static constexpr int32_t kConfigurationMagic = 30521;
    static constexpr int32_t kOlderConfigurationMagic = 30520;
    static constexpr int32_t kReportMagic = 30552;
    static constexpr int32_t kDisplayMagic = 30600;
    static constexpr int32_t kTranslationMagic = 30536;
    static constexpr int32_t kEquationSetMagic = 30568;

    // Texts are copied up to their first NUL and cut to 42 characters.
    CFileHeader(int32_t magic, float version, QByteArrayView description, QByteArrayView notice);

    // The header each document kind writes (and constructs before reading).
    static CFileHeader Configuration();
    static CFileHeader Report();
    static CFileHeader Display();
    static CFileHeader Translation();
    static CFileHeader EquationSet();

    // The 94 bytes of the header.
    QByteArray ToBytes() const;
    void AppendTo(QByteArray& out) const;
    // Replaces all four fields with the first 94 bytes of data; false (and the header
    // unchanged) when data is shorter.
    bool Read(QByteArrayView data);

    // Archive-style serialisation; the stream's own byte order plays no part. Read returns
    // false when the stream ends early (the header is then unchanged).
    void Write(QDataStream& stream) const;
    bool Read(QDataStream& stream);

    int32_t Magic() const { return m_magic; }
    float Version() const;
    uint32_t VersionWord() const { return m_versionWord; }
    // All 43 bytes as stored.
    const std::array<char, kTextSize>& RawDescription() const { return m_description; }
    const std::array<char, kTextSize>& RawNotice() const { return m_notice; }
    // The text up to its first NUL (all 43 bytes when there is none).
    QByteArray Description() const;
    QByteArray Notice() const;

private:
    int32_t m_magic = 0;
    uint32_t m_versionWord = 0;
    std::array<char, kTextSize> m_description{};
    std::array<char, kTextSize> m_notice{};
};
