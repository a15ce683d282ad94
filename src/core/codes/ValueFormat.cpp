// Value texts of program codes (see ValueFormat.h).
//
// All printf and strtod work runs in the "C" locale of the calling thread, so a process that
// adopted the user's locale (a comma as decimal point) still writes and reads "." as the device
// does. Output buffers are sized from vsnprintf's own count, so no width or precision of the
// table can overrun them.
#include "ValueFormat.h"

#include "LiteralTable.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <locale.h>

namespace {

#if defined(_WIN32)
_locale_t CLocale()
{
    static const _locale_t locale = _create_locale(LC_ALL, "C");
    return locale;
}
#else
locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Switches the calling thread to the "C" locale for the guard's lifetime.
struct CLocaleScope {
    CLocaleScope() : previous(CLocale() ? uselocale(CLocale()) : static_cast<locale_t>(nullptr)) {}
    ~CLocaleScope()
    {
        if (previous)
            uselocale(previous);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;
    locale_t previous;
};
#endif

// printf into a string in the "C" locale. The format always comes from this file or from the
// checked conversions of the static table.
std::string CFormat(const char* format, ...)
{
    std::string out;
    va_list args;
    va_start(args, format);
#if defined(_WIN32)
    va_list count;
    va_copy(count, args);
    const int n = _vscprintf_l(format, CLocale(), count);
    va_end(count);
    if (n > 0) {
        std::vector<char> buffer(static_cast<size_t>(n) + 1);
        _vsnprintf_l(buffer.data(), buffer.size(), format, CLocale(), args);
        out.assign(buffer.data(), static_cast<size_t>(n));
    }
#else
    CLocaleScope scope;
    va_list count;
    va_copy(count, args);
    const int n = std::vsnprintf(nullptr, 0, format, count);
    va_end(count);
    if (n > 0) {
        std::vector<char> buffer(static_cast<size_t>(n) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        out.assign(buffer.data(), static_cast<size_t>(n));
    }
#endif
    va_end(args);
    return out;
}

// Removes one character of field padding (trailing or leading blank, or a leading zero after
// the sign); false when the text has none.
bool RemovePadding(std::string& s)
{
    if (s.empty())
        return false;
    if (s.back() == ' ') {
        s.pop_back();
        return true;
    }
    if (s.front() == ' ') {
        s.erase(0, 1);
        return true;
    }
    const size_t i = (s[0] == '+' || s[0] == '-') ? 1 : 0;
    if (i + 1 < s.size() && s[i] == '0' && std::isdigit(static_cast<unsigned char>(s[i + 1]))) {
        s.erase(i, 1);
        return true;
    }
    return false;
}

// Widens the exponent of an "e" or "g" conversion's text to at least three digits, taking the
// added digits out of the field padding so that the field keeps its width where it can.
void FixExponent(std::string& s, int width)
{
    const size_t e = s.find_first_of("eE");
    if (e == std::string::npos || e + 1 >= s.size() || (s[e + 1] != '+' && s[e + 1] != '-'))
        return;
    const size_t first = e + 2;
    size_t end = first;
    while (end < s.size() && std::isdigit(static_cast<unsigned char>(s[end])))
        ++end;
    const int digits = static_cast<int>(end - first);
    if (digits == 0 || digits >= 3)
        return;
    const int missing = 3 - digits;
    s.insert(first, static_cast<size_t>(missing), '0');
    for (int i = 0; i < missing && static_cast<int>(s.size()) > width; ++i) {
        if (!RemovePadding(s))
            break;
    }
}

bool IsExponentConversion(char conversion)
{
    return conversion == 'e' || conversion == 'E' || conversion == 'g' || conversion == 'G';
}

enum class Kind { Text, Integer, Real };

Kind KindOf(int type)
{
    if (type == 4 || type == 5)
        return Kind::Real;
    if (type >= 1 && type <= 9)
        return Kind::Integer;
    return Kind::Text; // 0 and every unknown type
}

// A table format such as "%0*.*lu" taken apart: its flags and its conversion letter.
struct Conversion {
    std::string flags;
    char letter = 0;
};

// Parses "%" flags "*.*" length conversion; anything else gives no letter.
Conversion ParseConversion(const char* format)
{
    Conversion c;
    if (!format || format[0] != '%')
        return c;
    const char* s = format + 1;
    while (*s && std::strchr("-0+#", *s)) {
        if (c.flags.find(*s) == std::string::npos)
            c.flags += *s;
        ++s;
    }
    if (std::strncmp(s, "*.*", 3) != 0)
        return Conversion{};
    s += 3;
    while (*s && std::strchr("hlLqjzt", *s))
        ++s;
    if (!*s || s[1] != '\0')
        return Conversion{};
    c.letter = *s;
    return c;
}

// The conversion that formats a value of this kind, with the letter checked against the kind
// and the kind's own flag added ("-" for text, "0" for numbers). Integer conversions always
// take a long long argument.
struct BuiltFormat {
    std::string format;
    char letter;
};

BuiltFormat BuildFormat(const ParamDef& def, Kind kind)
{
    Conversion c = ParseConversion(def.format);
    std::string flags;
    std::string length;
    switch (kind) {
    case Kind::Text:
        if (c.letter != 's')
            c = Conversion{{}, 's'};
        flags = "-"; // no other flag has a meaning for strings
        break;
    case Kind::Integer:
        if (!c.letter || !std::strchr("diouxX", c.letter))
            c = Conversion{{}, 'u'};
        flags = "0";
        for (char f : c.flags) {
            if (f != '#' || std::strchr("oxX", c.letter)) // "#" only has a meaning for o, x, X
                flags += f;
        }
        length = "ll";
        break;
    case Kind::Real:
        if (!c.letter || !std::strchr("fFeEgGaA", c.letter))
            c = Conversion{{}, 'f'};
        flags = "0" + c.flags;
        break;
    }
    return {"%" + flags + "*.*" + length + c.letter, c.letter};
}

// Little-endian value of the first size bytes; 0 when fewer bytes are there.
uint64_t ReadLittleEndian(std::span<const uint8_t> bytes, int size)
{
    if (size <= 0 || bytes.size() < static_cast<size_t>(size))
        return 0;
    uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | bytes[static_cast<size_t>(i)];
    return value;
}

void WriteLittleEndian(std::span<uint8_t> bytes, int size, uint64_t value)
{
    for (int i = 0; i < size; ++i) {
        bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(value & 0xFF);
        value >>= 8;
    }
}

bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The leading decimal integer: sign and magnitude, the magnitude capped far above 32 bits.
struct LeadingNumber {
    bool negative = false;
    uint64_t magnitude = 0;
};

LeadingNumber ReadLeadingNumber(const QByteArray& bytes)
{
    constexpr uint64_t kCap = uint64_t(1) << 40;
    LeadingNumber n;
    const char* s = bytes.constData();
    while (IsCSpace(*s))
        ++s;
    if (*s == '+' || *s == '-') {
        n.negative = (*s == '-');
        ++s;
    }
    while (*s >= '0' && *s <= '9') {
        n.magnitude = std::min<uint64_t>(n.magnitude * 10 + static_cast<uint64_t>(*s - '0'), kCap);
        ++s;
    }
    return n;
}

QByteArray Bytes(const QString& text)
{
    return text.toLatin1();
}

QString FromBytes(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// The first "," becomes "." (Float and Double values may arrive with a decimal comma).
QString WithDecimalPoint(const QString& text)
{
    QString t = text;
    const qsizetype comma = t.indexOf(QLatin1Char(','));
    if (comma >= 0)
        t[comma] = QLatin1Char('.');
    return t;
}

// Instance numbers count from 0; an item without instances has only instance 0.
bool IsValidInstance(const ParamDef& def, int instance)
{
    return instance >= 0 && instance < std::max<int>(1, def.instanceCount);
}

// The number of options of a ParamDef (maximum + 1), 0 when it has no option list or the
// list would leave the literal table.
int OptionCount(const ParamDef& def)
{
    if (!def.HasOptions() || !(def.maximum >= 0.0f) || def.maximum >= static_cast<float>(kLiteralCount))
        return 0;
    const int count = static_cast<int>(def.maximum) + 1;
    return std::min(count, kLiteralCount - def.optionList);
}

} // namespace

int32_t LeadingInt(const QString& text)
{
    const LeadingNumber n = ReadLeadingNumber(Bytes(text));
    const int64_t value = n.negative ? -static_cast<int64_t>(n.magnitude) : static_cast<int64_t>(n.magnitude);
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                     std::numeric_limits<int32_t>::max()));
}

uint32_t LeadingUnsigned(const QString& text)
{
    const LeadingNumber n = ReadLeadingNumber(Bytes(text));
    if (n.magnitude > 0xFFFFFFFFull)
        return 0xFFFFFFFFu;
    const uint32_t magnitude = static_cast<uint32_t>(n.magnitude);
    return n.negative ? static_cast<uint32_t>(0u - magnitude) : magnitude;
}

double LeadingReal(const QString& text)
{
    const QByteArray bytes = Bytes(text);
#if defined(_WIN32)
    return _strtod_l(bytes.constData(), nullptr, CLocale());
#else
    CLocaleScope scope;
    return std::strtod(bytes.constData(), nullptr);
#endif
}

float ToSingle(double value)
{
    // Beyond the single range a conversion is undefined in C++; IEEE rounding gives the
    // largest single up to half a unit above it and an infinity from there on.
    constexpr double kOverflow = 0x1.ffffffp127;
    if (std::isnan(value))
        return std::numeric_limits<float>::quiet_NaN();
    if (std::fabs(value) > static_cast<double>(FLT_MAX)) {
        const float magnitude = std::fabs(value) >= kOverflow ? std::numeric_limits<float>::infinity() : FLT_MAX;
        return value < 0 ? -magnitude : magnitude;
    }
    return static_cast<float>(value);
}

QString FormatSignificant(double value, int digits)
{
    std::string s = CFormat("%.*g", digits, value);
    FixExponent(s, 0);
    return FromBytes(s);
}

QString FormatValue(const DBParam& p, const ConfigImage& image)
{
    if (!p.def)
        return {};
    return FormatValue(*p.def, p.instance, image);
}

QString FormatValue(const ParamDef& def, int instance, const ConfigImage& image)
{
    const int type = def.Type();
    const Kind kind = KindOf(type);
    const std::span<const uint8_t> value =
        IsValidInstance(def, instance) ? image.LocateValue(def, instance) : std::span<const uint8_t>{};
    const int width = def.width;
    const int precision = def.precision;
    const BuiltFormat built = BuildFormat(def, kind);

    switch (kind) {
    case Kind::Text: {
        // The stored characters up to their NUL, never beyond the item's storage.
        size_t capacity = value.size();
        if (def.storage > 0)
            capacity = std::min<size_t>(capacity, def.storage);
        size_t length = 0;
        while (length < capacity && value[length] != 0)
            ++length;
        const std::string chars(reinterpret_cast<const char*>(value.data()), length);
        return FromBytes(CFormat(built.format.c_str(), width, precision, chars.c_str()));
    }
    case Kind::Integer: {
        const int size = NumericSize(type);
        const uint64_t raw = ReadLittleEndian(value, size);
        // 8- and 16-bit values always come out with at least width digits.
        const int digits = (size <= 2 && precision == 0) ? width : precision;
        std::string s;
        if (built.letter == 'd' || built.letter == 'i') {
            const long long v = size == 4 ? static_cast<long long>(static_cast<int32_t>(raw)) : static_cast<long long>(raw);
            s = CFormat(built.format.c_str(), width, digits, v);
        } else {
            s = CFormat(built.format.c_str(), width, digits, static_cast<unsigned long long>(raw));
        }
        return FromBytes(s);
    }
    case Kind::Real: {
        double v = 0.0;
        if (type == 4)
            v = std::bit_cast<float>(static_cast<uint32_t>(ReadLittleEndian(value, 4)));
        else
            v = std::bit_cast<double>(ReadLittleEndian(value, 8));
        std::string s = CFormat(built.format.c_str(), width, precision, v);
        if (IsExponentConversion(built.letter))
            FixExponent(s, width);
        return FromBytes(s);
    }
    }
    return {};
}

bool StoreValue(ConfigImage& image, const DBParam& p, const QString& text)
{
    if (!p.def)
        return false;
    return StoreValue(image, *p.def, p.instance, text);
}

bool StoreValue(ConfigImage& image, const ParamDef& def, int instance, const QString& text)
{
    const int type = def.Type();
    if (type < 0 || type > 9 || !IsValidInstance(def, instance))
        return false;
    const std::span<uint8_t> target = image.LocateValue(def, instance);

    if (type == 0) {
        const size_t capacity = std::min<size_t>(target.size(), def.storage);
        if (capacity == 0)
            return false;
        QByteArray bytes = Bytes(text);
        const qsizetype nul = bytes.indexOf('\0');
        if (nul >= 0)
            bytes.truncate(nul);
        const size_t length = std::min<size_t>(static_cast<size_t>(bytes.size()), capacity - 1);
        std::memcpy(target.data(), bytes.constData(), length);
        std::fill(target.begin() + static_cast<std::ptrdiff_t>(length),
                  target.begin() + static_cast<std::ptrdiff_t>(capacity), uint8_t{0});
        return true;
    }

    const int size = NumericSize(type);
    if (size == 0 || target.size() < static_cast<size_t>(size) || (def.storage > 0 && def.storage < size))
        return false;
    uint64_t bits = 0;
    switch (type) {
    case 1: case 6: case 9:
        bits = static_cast<uint32_t>(LeadingInt(text)) & 0xFFu;
        break;
    case 2: case 7:
        bits = static_cast<uint32_t>(LeadingInt(text)) & 0xFFFFu;
        break;
    case 3:
        bits = static_cast<uint32_t>(LeadingInt(text));
        break;
    case 8:
        bits = LeadingUnsigned(text);
        break;
    case 4:
        bits = std::bit_cast<uint32_t>(ToSingle(LeadingReal(WithDecimalPoint(text))));
        break;
    case 5:
        bits = std::bit_cast<uint64_t>(LeadingReal(WithDecimalPoint(text)));
        break;
    default:
        return false;
    }
    WriteLittleEndian(target, size, bits);
    return true;
}

QString RangeText(const ParamDef& def)
{
    const int type = def.Type();
    if (type == 0)
        return FromBytes(CFormat("Enter up to %-1.0f characters of text", static_cast<double>(def.maximum)));
    if (def.HasOptions())
        return QStringLiteral("Select desired option from list");
    const bool exponent = def.format && std::strpbrk(def.format, "eEgG") != nullptr;
    const int precision = (type == 4 || type == 5) ? def.precision : 0;
    const char* format = exponent ? "%*.*g" : "%*.*f";
    std::string low = CFormat(format, 0, precision, static_cast<double>(def.minimum));
    std::string high = CFormat(format, 0, precision, static_cast<double>(def.maximum));
    if (exponent) {
        FixExponent(low, 0);
        FixExponent(high, 0);
    }
    return FromBytes("(" + low + " - " + high + ")");
}

QString CommentText(const ParamDef& def)
{
    return def.IsReadOnly() ? QStringLiteral("Read Only") : QStringLiteral(" ");
}

bool CheckTimeText(QString& text)
{
    static const QString kLetters = QStringLiteral("AaPpMm");
    qsizetype letter = -1;
    for (qsizetype i = 5; i < text.size(); ++i) {
        if (kLetters.contains(text[i])) {
            letter = i;
            break;
        }
    }
    if (letter < 0)
        return false;
    text[letter] = text[letter].toUpper();

    if (text[2] != QLatin1Char(':'))
        return false;
    // Both fields are two digits, so the leading integers below cannot be signed or short.
    for (qsizetype i : {0, 1, 3, 4}) {
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
            return false;
    }
    const int hour = LeadingInt(text);
    const int minutes = LeadingInt(text.mid(3));
    if (hour > 23 || minutes < 0 || minutes > 59)
        return false;
    return text[letter] == QLatin1Char('M') || hour <= 12;
}

QString OptionText(const ParamDef& def, int n)
{
    if (n < 0 || n >= OptionCount(def))
        return {};
    return LiteralText(def.optionList + n);
}

QString OptionValueText(const ParamDef& def, const QString& valueText)
{
    const int n = LeadingInt(valueText);
    if (n < 0 || n >= OptionCount(def))
        return valueText;
    return valueText + QLatin1Char(' ') + OptionText(def, n);
}

QString EditedOptionText(const ParamDef& def, int n)
{
    if (n < 0 || n >= OptionCount(def))
        return QString::number(n);
    return QString::number(n) + QLatin1Char(' ') + OptionText(def, n);
}

QStringList OptionChoices(const ParamDef& def)
{
    QStringList choices;
    const int count = OptionCount(def);
    for (int n = 0; n < count; ++n)
        choices << FromBytes(CFormat("%0*d", static_cast<int>(def.width), n)) + QLatin1Char(' ') + OptionText(def, n);
    return choices;
}

QString OptionValueFromChoice(int n)
{
    return QString::number(n);
}

QStringList SecurityLevelChoices()
{
    return {QStringLiteral("Level 1"), QStringLiteral("Level 2"), QStringLiteral("Level 3")};
}

int SecurityChoiceForLevel(int level)
{
    return (level >= 1 && level <= 3) ? level - 1 : -1;
}

int LevelForSecurityChoice(int choice)
{
    return choice + 1;
}

QString SecurityLevelText(int level)
{
    return level == 0 ? QStringLiteral("N/A") : QString::number(level);
}

QString RefreshedSecurityLevelText(int level)
{
    return QString::number(level);
}

QString AlarmFlagLabel(int flag)
{
    switch (flag) {
    case 0: return QStringLiteral("Allow clearing without passcode entry");
    case 1: return QStringLiteral("Energize Alarm Relay 1");
    case 2: return QStringLiteral("Energize  Alarm Relay 2");
    default: return {};
    }
}

AlarmFlags SplitAlarmFlags(const QString& valueText)
{
    const int value = LeadingInt(valueText);
    AlarmFlags flags{};
    for (int i = 0; i < kAlarmFlagCount; ++i)
        flags[static_cast<size_t>(i)] = (value & kAlarmFlagBits[static_cast<size_t>(i)]) != 0;
    return flags;
}

QString JoinAlarmFlags(const AlarmFlags& flags)
{
    int value = 0;
    for (int i = 0; i < kAlarmFlagCount; ++i) {
        if (flags[static_cast<size_t>(i)])
            value += kAlarmFlagBits[static_cast<size_t>(i)];
    }
    return QString::number(value);
}

uint32_t IpFromValueText(const QString& valueText)
{
    return LeadingUnsigned(valueText);
}

std::array<uint8_t, 4> IpOctets(uint32_t address)
{
    return {static_cast<uint8_t>(address >> 24), static_cast<uint8_t>(address >> 16),
            static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address)};
}

uint32_t IpFromOctets(const std::array<uint8_t, 4>& octets)
{
    return (uint32_t(octets[0]) << 24) | (uint32_t(octets[1]) << 16) | (uint32_t(octets[2]) << 8) | uint32_t(octets[3]);
}

QString IpDottedText(uint32_t address)
{
    const std::array<uint8_t, 4> o = IpOctets(address);
    return QStringLiteral("%1.%2.%3.%4").arg(o[0]).arg(o[1]).arg(o[2]).arg(o[3]);
}

std::optional<uint32_t> ParseDottedIp(const QString& text)
{
    const QStringList fields = text.trimmed().split(QLatin1Char('.'));
    if (fields.size() != 4)
        return std::nullopt;
    std::array<uint8_t, 4> octets{};
    for (int i = 0; i < 4; ++i) {
        const QString& field = fields[i];
        if (field.isEmpty() || field.size() > 3)
            return std::nullopt;
        for (QChar c : field) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
        }
        const int value = field.toInt();
        if (value > 255)
            return std::nullopt;
        octets[static_cast<size_t>(i)] = static_cast<uint8_t>(value);
    }
    return IpFromOctets(octets);
}

QString IpValueText(uint32_t address)
{
    return QString::number(address);
}
