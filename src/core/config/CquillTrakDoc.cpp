// The configuration document's life (construction, File New) and its configuration data
// file. Storing writes one record per programmed program code in chain order. Loading walks
// an untrusted file: every read is bounded by the file, every write by its image block, and
// the whole file is read into a scratch image and scratch flags that replace the document's
// only when the end marker was reached.
#include "CquillTrakDoc.h"

#include "CFileHeader.h"
#include "UserInterface.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Larger than any configuration data file can sensibly be; refused without reading it.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
constexpr uint8_t kHighestSecurityLevel = 3;

const char kUnexpectedFormat[] = "Unexpected file format.";

// Sequential little-endian reads that fail instead of running past the end of the data.
struct FileReader {
    QByteArrayView data;
    qsizetype pos = 0;

    bool Take(void* target, qsizetype n)
    {
        if (n < 0 || data.size() - pos < n)
            return false;
        if (target && n > 0)
            std::memcpy(target, data.data() + pos, static_cast<size_t>(n));
        pos += n;
        return true;
    }
    bool Int32(int32_t& value)
    {
        char bytes[4];
        if (!Take(bytes, 4))
            return false;
        value = qFromLittleEndian<int32_t>(bytes);
        return true;
    }
    bool Byte(uint8_t& value) { return Take(&value, 1); }
};

void AppendInt32(QByteArray& out, int32_t value)
{
    char bytes[4];
    qToLittleEndian<int32_t>(value, bytes);
    out.append(bytes, 4);
}

void ShowVersionNotice(UserInterface& ui, int32_t magic, float version)
{
    const float revision = CFileHeader::kApplicationRevision;
    const double v = version;
    QString text;
    if (version < revision) {
        if (magic == CFileHeader::kOlderConfigurationMagic) {
            text = QString::asprintf(
                "This file was saved with a previous version of Quarrant Liquid (%.2f) that is not compatible with the "
                "current version.\nThe data loaded from the file may become corrupted when used with newer versions of "
                "quillTrak (revision 0.08 and above). \nIt is recommended that you either regenerate this data file by "
                "reading the data from the Pendralux again or \ninstall the matching Quarrant revision (%.2f) to work "
                "with this file.",
                v, v);
        } else {
            text = QString::asprintf("This file was last saved with Quarrant Liquid Revision %.2f\nProgram codes added "
                                     "after Revision %.2f will not yet have values programmed.",
                                     v, v);
        }
    } else if (version > revision) {
        text = QString::asprintf("This file was created with a newer revision Quarrant Liquid (Rev%.2f). Not all data "
                                 "will be loaded.\nWarning: Saving the file from this Quarrant Liquid (rev %.2f) may "
                                 "result in data loss.",
                                 v, double(revision));
    }
    if (!text.isEmpty())
        ui.MessageBox(text, QString(), UserInterface::Buttons::Ok, UserInterface::Icon::Warning);
}

} // namespace

CquillTrakDoc::CquillTrakDoc()
{
    programCodeCount = m_sections.Count();
    m_image.Clear();
}

void CquillTrakDoc::OnNewDocument()
{
    m_image.Clear();
    currentSection = -1;
    m_sections.ClearProgrammed();
    deviceAddress = 1;
    port = 1;
    RunConnectHook();
}

void CquillTrakDoc::RunConnectHook()
{
    if (m_connectHook)
        m_connectHook(*this);
}

QByteArray CquillTrakDoc::Store() const
{
    QByteArray out;
    out.reserve(CFileHeader::kSize + 20 + programCodeCount * 43);
    CFileHeader::Configuration().AppendTo(out);
    AppendInt32(out, port);
    AppendInt32(out, static_cast<int32_t>(deviceAddress));
    AppendInt32(out, 0); // single-precision 0.0
    AppendInt32(out, reserved);

    for (const DBParam* p = m_sections.Chain(); p; p = p->next) {
        if (!p->programmed)
            continue;
        AppendInt32(out, p->section);
        AppendInt32(out, p->number);
        AppendInt32(out, p->instance);
        AppendInt32(out, p->sectionSize);
        const int type = p->def->Type();
        out.append(static_cast<char>(type));
        out.append(static_cast<char>(GetSecurityLevel(*p)));

        // A text carries 25 image bytes from its location; bytes beyond the end of the
        // block are written as zeros rather than read from outside it.
        const qsizetype size = FileValueSize(type);
        const std::span<const uint8_t> value = LocateValue(*p);
        const qsizetype available = std::min<qsizetype>(size, static_cast<qsizetype>(value.size()));
        out.append(reinterpret_cast<const char*>(value.data()), available);
        out.append(size - available, '\0');
    }
    AppendInt32(out, kEndMarker);
    return out;
}

bool CquillTrakDoc::Load(const QByteArray& data, UserInterface& ui)
{
    CFileHeader header = CFileHeader::Configuration();
    if (!header.Read(data))
        return false;
    const int32_t magic = header.Magic();
    if (magic != kMagic && magic != kOlderMagic)
        return false;
    ShowVersionNotice(ui, magic, header.Version());

    FileReader in{data, CFileHeader::kSize};
    int32_t loadedPort = 0;
    int32_t loadedAddress = 0;
    int32_t loadedReserved = 0;
    if (!in.Int32(loadedPort) || !in.Int32(loadedAddress) || !in.Take(nullptr, 4) || !in.Int32(loadedReserved))
        return false;

    // The chain as an array, and where each section starts in it.
    std::vector<DBParam*> chain;
    chain.reserve(static_cast<size_t>(m_sections.Count()));
    for (DBParam* p = m_sections.Chain(); p; p = p->next)
        chain.push_back(p);
    const int64_t chainLength = static_cast<int64_t>(chain.size());
    int64_t sectionStart[kSectionCount];
    for (int s = 0; s < kSectionCount; ++s) {
        const auto it = std::find(chain.begin(), chain.end(), m_sections.First(s));
        sectionStart[s] = it == chain.end() ? -1 : it - chain.begin();
    }

    ConfigImage image = m_image;
    std::vector<uint8_t> programmed(chain.size());
    for (size_t i = 0; i < chain.size(); ++i)
        programmed[i] = chain[i]->programmed;

    for (;;) {
        int32_t section = 0;
        if (!in.Int32(section))
            return false;
        if (section == kEndMarker)
            break;
        int32_t number = 0;
        int32_t instance = 0;
        int32_t sectionSize = 0;
        uint8_t type = 0;
        uint8_t level = 0;
        if (!in.Int32(number) || !in.Int32(instance) || !in.Int32(sectionSize) || !in.Byte(type) || !in.Byte(level))
            return false;
        uint8_t value[32];
        const int valueSize = FileValueSize(type);
        if (!in.Take(value, valueSize))
            return false;

        // The target: from the first object of the record's section, skip instance x section
        // size objects, then (older layout) the position more, or search the rest of the
        // chain for the number. A record that leads nowhere is dropped.
        int64_t target = -1;
        if (section >= 0 && section < kSectionCount && sectionStart[section] >= 0 && instance >= 0 && sectionSize >= 0) {
            const int64_t from = sectionStart[section] + int64_t(instance) * int64_t(sectionSize);
            if (magic == kOlderMagic) {
                if (number >= 0 && from + number < chainLength)
                    target = from + number;
            } else {
                for (int64_t i = from; i < chainLength; ++i) {
                    if (chain[static_cast<size_t>(i)]->number == number) {
                        target = i;
                        break;
                    }
                }
            }
        }
        if (target < 0)
            continue;

        const DBParam& p = *chain[static_cast<size_t>(target)];
        const std::span<uint8_t> location = image.LocateValue(p);
        const size_t n = std::min<size_t>(static_cast<size_t>(valueSize), location.size());
        if (n > 0)
            std::memcpy(location.data(), value, n);
        // Only the device's levels are taken; a damaged level byte leaves the level as it was.
        if (level <= kHighestSecurityLevel)
            image.SetSecurityLevel(p, level);
        programmed[static_cast<size_t>(target)] = 1;
    }

    m_image = image;
    for (size_t i = 0; i < chain.size(); ++i)
        chain[i]->programmed = programmed[i];
    port = loadedPort;
    deviceAddress = static_cast<uint32_t>(loadedAddress);
    reserved = loadedReserved;
    return true;
}

bool CquillTrakDoc::SaveFile(const QString& path, QString* error)
{
    QSaveFile file(path);
    const QByteArray bytes = Store();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("Cannot save \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    if (connectionState == Online && m_logOffHook)
        m_logOffHook(*this);
    return true;
}

bool CquillTrakDoc::OpenFile(const QString& path, UserInterface& ui, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    if (file.size() > kMaxFileSize) {
        if (error)
            *error = QString::fromLatin1(kUnexpectedFormat);
        return false;
    }
    const QByteArray data = file.readAll();
    if (!Load(data, ui)) {
        if (error)
            *error = QString::fromLatin1(kUnexpectedFormat);
        return false;
    }
    RunConnectHook();
    return true;
}
