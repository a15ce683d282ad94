// The document file header (see CFileHeader.h): building it per document kind, and its
// fixed 94-byte little-endian encoding.
#include "CFileHeader.h"

#include <QDataStream>
#include <QtEndian>
#include <cstring>

namespace {

const char kDataFileNotice[] = "Data file notice (2007).";

void CopyText(std::array<char, CFileHeader::kTextSize>& target, QByteArrayView text)
{
    target.fill('\0');
    for (qsizetype i = 0; i < text.size() && i < CFileHeader::kMaxTextLength; ++i) {
        if (text[i] == '\0')
            break;
        target[static_cast<size_t>(i)] = text[i];
    }
}

QByteArray TextUpToNul(const std::array<char, CFileHeader::kTextSize>& text)
{
    const void* nul = std::memchr(text.data(), '\0', text.size());
    const qsizetype length = nul ? static_cast<const char*>(nul) - text.data() : qsizetype(text.size());
    return QByteArray(text.data(), length);
}

} // namespace

CFileHeader::CFileHeader(int32_t magic, float version, QByteArrayView description, QByteArrayView notice)
    : m_magic(magic)
{
    std::memcpy(&m_versionWord, &version, sizeof m_versionWord);
    CopyText(m_description, description);
    CopyText(m_notice, notice);
}

CFileHeader CFileHeader::Configuration()
{
    return CFileHeader(kConfigurationMagic, kApplicationRevision, "Corvantix.net Liquid Data File (.qd) ",
                       "Liquid configuration data notice (2007).");
}

CFileHeader CFileHeader::Report()
{
    return CFileHeader(kReportMagic, kApplicationRevision, "Quarrant Report Def (.RPF)", kDataFileNotice);
}

CFileHeader CFileHeader::Display()
{
    // The description names ".DPG" although display files are ".DPF": files carry it so.
    return CFileHeader(kDisplayMagic, kApplicationRevision, "Quarrant Gas Display Def (.DPG)", kDataFileNotice);
}

CFileHeader CFileHeader::Translation()
{
    return CFileHeader(kTranslationMagic, kApplicationRevision, "Quarrant Translation (.LGF)", kDataFileNotice);
}

CFileHeader CFileHeader::EquationSet()
{
    return CFileHeader(kEquationSetMagic, kApplicationRevision, "QUARRANT EquationSet(.EQF)", kDataFileNotice);
}

float CFileHeader::Version() const
{
    float version;
    std::memcpy(&version, &m_versionWord, sizeof version);
    return version;
}

QByteArray CFileHeader::Description() const
{
    return TextUpToNul(m_description);
}

QByteArray CFileHeader::Notice() const
{
    return TextUpToNul(m_notice);
}

void CFileHeader::AppendTo(QByteArray& out) const
{
    char bytes[kSize];
    qToLittleEndian<int32_t>(m_magic, bytes);
    qToLittleEndian<uint32_t>(m_versionWord, bytes + 4);
    std::memcpy(bytes + 8, m_description.data(), kTextSize);
    std::memcpy(bytes + 8 + kTextSize, m_notice.data(), kTextSize);
    out.append(bytes, kSize);
}

QByteArray CFileHeader::ToBytes() const
{
    QByteArray out;
    AppendTo(out);
    return out;
}

bool CFileHeader::Read(QByteArrayView data)
{
    if (data.size() < kSize)
        return false;
    const char* bytes = data.data();
    m_magic = qFromLittleEndian<int32_t>(bytes);
    m_versionWord = qFromLittleEndian<uint32_t>(bytes + 4);
    std::memcpy(m_description.data(), bytes + 8, kTextSize);
    std::memcpy(m_notice.data(), bytes + 8 + kTextSize, kTextSize);
    return true;
}

void CFileHeader::Write(QDataStream& stream) const
{
    const QByteArray bytes = ToBytes();
    stream.writeRawData(bytes.constData(), kSize);
}

bool CFileHeader::Read(QDataStream& stream)
{
    char bytes[kSize];
    if (stream.readRawData(bytes, kSize) != kSize) {
        stream.setStatus(QDataStream::ReadPastEnd);
        return false;
    }
    return Read(QByteArrayView(bytes, kSize));
}
