// Offline part of the parameter edit (see ParamEdit.h).
#include "ParamEdit.h"

#include "EditChecks.h"
#include "ValueFormat.h"

ParamEdit::DialogKind ParamEdit::ChooseDialog(const ParamDef& def)
{
    if (def.directory == 6 || def.directory == 7)
        return DialogKind::Alarm;
    if (def.HasOptions())
        return DialogKind::List;
    if (def.directory == 3 && def.type == ValueType::UInt32)
        return DialogKind::IPAddress;
    return DialogKind::General;
}

QString ParamEdit::ReadOnlyMessage()
{
    return QStringLiteral("You can only read this program code.\nUse the SD command in Terminal Emulator to set time/date.");
}

int ParamEdit::HelpContextId(const DBParam& p)
{
    const int section = p.DisplaySection();
    const int group = section <= 4 ? 0 : (section <= 12 ? 1 : 5);
    return 10000 + 1000 * group + p.number;
}

std::optional<QString> ParamEdit::CheckValue(const ParamDef& def, QString& valueText)
{
    return CheckGeneralEdit(def, valueText);
}

std::optional<QString> ParamEdit::StoreOffline(ConfigImage& image, DBParam& p, const QString& valueText,
                                               std::optional<int> level)
{
    if (!p.def)
        return QStringLiteral("No program code to edit.");
    const ParamDef& def = *p.def;
    if (def.IsReadOnly())
        return ReadOnlyMessage();
    if (level && (*level < 0 || *level > 3))
        return QStringLiteral("Security level %1 is not one of 1, 2 or 3.").arg(*level);

    QString text = valueText;
    if (std::optional<QString> message = CheckValue(def, text))
        return message;
    if (!StoreValue(image, p, text))
        return QStringLiteral("Unable to store the value of %1.").arg(def.DisplayName());

    p.programmed = 1;
    if (level && def.HasSecurityLevel())
        image.SetSecurityLevel(p, static_cast<uint8_t>(*level));
    return std::nullopt;
}
