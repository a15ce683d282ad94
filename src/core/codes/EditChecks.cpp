// Checks of the parameter edit dialogs (see EditChecks.h).
#include "EditChecks.h"

#include "ValueFormat.h"

namespace {

bool InRange(const ParamDef& def, float value)
{
    // NaN and infinities fail here as well: a comparison with NaN is false.
    return value >= def.minimum && value <= def.maximum;
}

// The value that StoreValue will keep for this text, as a single, for the integer types.
std::optional<float> StoredInteger(const ParamDef& def, const QString& text)
{
    switch (def.Type()) {
    case 1: case 6: case 9: return static_cast<float>(static_cast<uint32_t>(LeadingInt(text)) & 0xFFu);
    case 2: case 7: return static_cast<float>(static_cast<uint32_t>(LeadingInt(text)) & 0xFFFFu);
    case 3: return static_cast<float>(LeadingInt(text));
    case 8: return static_cast<float>(LeadingUnsigned(text));
    default: return std::nullopt;
    }
}

} // namespace

QString TextLengthMessage(const ParamDef& def)
{
    return QStringLiteral("Enter no more than %1 characters.").arg(static_cast<int>(def.maximum));
}

QString TimeTextMessage()
{
    return QStringLiteral("Must be valid time string of form HH:MMT where T=A (AM), P (PM) or M (Military)");
}

QString NumberRangeMessage(const ParamDef& def)
{
    return QStringLiteral("Enter a number between %1 and %2.")
        .arg(FormatSignificant(def.minimum, 6), FormatSignificant(def.maximum, 6));
}

bool IsTimeOfDayCode(const ParamDef& def)
{
    return def.IsProgramCode() && def.Type() == 0 && def.ProgramCodeNumber() == 733;
}

std::optional<QString> CheckTextLength(const ParamDef& def, const QString& text)
{
    if (text.size() > static_cast<qsizetype>(def.maximum))
        return TextLengthMessage(def);
    return std::nullopt;
}

std::optional<QString> CheckNumberRange(const ParamDef& def, const QString& text)
{
    const bool real = def.Type() == 4 || def.Type() == 5;
    QString typed = text;
    if (real) {
        const qsizetype comma = typed.indexOf(QLatin1Char(','));
        if (comma >= 0)
            typed[comma] = QLatin1Char('.');
    }
    if (!InRange(def, ToSingle(LeadingReal(typed))))
        return NumberRangeMessage(def);
    if (const std::optional<float> stored = StoredInteger(def, text); stored && !InRange(def, *stored))
        return NumberRangeMessage(def);
    return std::nullopt;
}

std::optional<QString> CheckOptionNumber(const ParamDef& def, int n)
{
    if (!InRange(def, static_cast<float>(n)))
        return NumberRangeMessage(def);
    return std::nullopt;
}

std::optional<QString> CheckGeneralEdit(const ParamDef& def, QString& text)
{
    if (def.Type() == 0) {
        if (std::optional<QString> message = CheckTextLength(def, text))
            return message;
        if (IsTimeOfDayCode(def) && !CheckTimeText(text))
            return TimeTextMessage();
        return std::nullopt;
    }
    return CheckNumberRange(def, text);
}
