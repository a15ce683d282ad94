// Condition flags and their status characters (see StatusFlags.h).
#include "StatusFlags.h"

#include <algorithm>

namespace {

// Row by row: position 0 holds AU (1), FL (2), RL (4), PW (8); position 1 KY, BD, TD, TP; ...
const std::array<const char*, StatusFlags::kFlagCount> kNames = {
    "AU", "FL", "RL", "PW", //
    "KY", "BD", "TD", "TP", //
    "AL", "CD", "PD", "PP", //
    "PF", "TO", "DP", "PC", //
    "I3", "I2", "I1", "CE", //
    "I7", "I6", "I5", "I4", //
};

} // namespace

const std::array<const char*, StatusFlags::kFlagCount>& StatusFlags::Names()
{
    return kNames;
}

std::optional<int> StatusFlags::Find(const QString& name)
{
    for (int i = 0; i < kFlagCount; ++i) {
        if (name.compare(QLatin1String(kNames[i]), Qt::CaseInsensitive) == 0)
            return i;
    }
    return std::nullopt;
}

bool StatusFlags::ParseScript(const QString& text, FlagScript* script, QString* error)
{
    QString t = text.trimmed();
    FlagScript s;
    if (t.startsWith(QLatin1Char('!'))) {
        s.set = false;
        t = t.mid(1);
    }
    QString name = t;
    const int colon = t.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        name = t.left(colon);
        bool ok = false;
        const int n = t.mid(colon + 1).toInt(&ok);
        if (!ok || n < 1 || n > 1000000) {
            *error = QStringLiteral("flag '%1': the count after ':' must be a number from 1 to 1000000").arg(text);
            return false;
        }
        s.changeAfter = n;
    } else if (!s.set) {
        *error = QStringLiteral("flag '%1': a clear flag needs ':N', the status replies after which it is set").arg(text);
        return false;
    }
    const std::optional<int> flag = Find(name);
    if (!flag) {
        *error = QStringLiteral("unknown flag '%1' (known: %2)").arg(name, QStringList(kNames.begin(), kNames.end()).join(QLatin1Char(' ')));
        return false;
    }
    s.flag = *flag;
    *script = s;
    return true;
}

void StatusFlags::Apply(const std::vector<FlagScript>& scripts)
{
    for (const FlagScript& s : scripts) {
        m_set[s.flag] = s.set;
        if (s.changeAfter > 0) {
            FlagScript later = s;
            later.set = !s.set;
            later.changeAfter = m_queries + s.changeAfter;
            m_pending.push_back(later);
        }
    }
}

bool StatusFlags::IsSet(int flag) const
{
    return flag >= 0 && flag < kFlagCount && m_set[flag];
}

void StatusFlags::Set(int flag, bool on)
{
    if (flag >= 0 && flag < kFlagCount)
        m_set[flag] = on;
}

QByteArray StatusFlags::Characters() const
{
    QByteArray out(kStatusCharacters, kBaseCharacter);
    for (int i = 0; i < kFlagCount; ++i) {
        if (m_set[i])
            out[i / 4] = char(out[i / 4] | (1 << (i % 4)));
    }
    return out;
}

QByteArray StatusFlags::Query()
{
    const QByteArray out = Characters();
    ++m_queries;
    auto due = [this](const FlagScript& s) { return s.changeAfter <= m_queries; };
    for (const FlagScript& s : m_pending) {
        if (due(s))
            m_set[s.flag] = s.set;
    }
    m_pending.erase(std::remove_if(m_pending.begin(), m_pending.end(), due), m_pending.end());
    return out;
}

QStringList StatusFlags::SetNames() const
{
    QStringList names;
    for (int i = 0; i < kFlagCount; ++i) {
        if (m_set[i])
            names << QLatin1String(kNames[i]);
    }
    return names;
}
