// The simulated device's memory (see DeviceState.h).
#include "DeviceState.h"

#include "ConsoleUserInterface.h"
#include "SimOptions.h"
#include "ValueFormat.h"

#include <QHash>

namespace {

// Texts a new device carries for some program codes; every other text program code starts
// with its own name in capitals, cut to what it can hold.
const QHash<int, const char*>& FactoryTexts()
{
    static const QHash<int, const char*> texts = {
        {112, "GPM"},      {114, "GAL"},         {116, "LB"},
        {121, "BAY 1"},    {733, "06:00A"},      {812, "GAL"},
        {813, "GAL"},
    };
    return texts;
}

QString FactoryText(const DBParam& p)
{
    const ParamDef& def = *p.def;
    const int limit = qMax(0, int(def.maximum));
    if (def.directory == 13 && p.number == 2) // the recipe name
        return QStringLiteral("RECIPE %1").arg(p.instance + 1).left(limit);
    const auto it = FactoryTexts().constFind(p.number);
    if (it != FactoryTexts().constEnd())
        return QString::fromLatin1(*it).left(limit);
    QString name = def.DisplayName();
    const int blank = name.indexOf(QLatin1Char(' '));
    if (blank >= 0)
        name = name.mid(blank + 1);
    return name.toUpper().left(limit);
}

} // namespace

DeviceState::DeviceState(const SimOptions& options)
    : m_doc(std::make_unique<CquillTrakDoc>())
    , m_locked(options.locked)
    , m_firmwareCrc(options.firmwareCrc)
    , m_unit(options.unit)
    , m_logs(options.events, options.audits, options.transactions)
{
    m_flags.Apply(options.flags);
}

void DeviceState::ApplyFactoryDefault(DBParam& p)
{
    const ParamDef& def = *p.def;
    if (def.type == ValueType::Text)
        StoreValue(m_doc->Image(), p, FactoryText(p));
    else
        StoreValue(m_doc->Image(), p, QString::number(double(def.minimum), 'f', 6));
    // Levels 1 to 3 in turn, so a read sees every level.
    if (def.HasSecurityLevel())
        m_doc->Image().SetSecurityLevel(p, uint8_t(1 + p.number % 3));
    RefreshLiveValue(p);
}

bool DeviceState::Initialise(const QString& statePath, QString* error)
{
    for (DBParam* p = m_doc->Sections().Chain(); p; p = p->next) {
        ApplyFactoryDefault(*p);
        p->programmed = 0;
    }
    if (!statePath.isEmpty()) {
        // Loading overlays the file's program codes on the defaults; notices go to stderr.
        ConsoleUserInterface ui(stderr);
        if (!m_doc->OpenFile(statePath, ui, error))
            return false;
    }
    for (DBParam* p = m_doc->Sections().Chain(); p; p = p->next)
        p->programmed = 1;
    m_doc->programCodeCount = m_doc->Sections().Count();
    return true;
}

bool DeviceState::Save(const QString& path, QString* error)
{
    for (DBParam* p = m_doc->Sections().Chain(); p; p = p->next)
        RefreshLiveValue(*p);
    return m_doc->SaveFile(path, error);
}

DBParam* DeviceState::FindProgramCode(const QString& directory, int number) const
{
    int first = -1;
    int last = -1;
    if (directory == QLatin1String("CF")) {
        first = 1;
        last = 4;
    } else if (directory == QLatin1String("SY")) {
        first = 5;
        last = 12;
    } else if (directory.size() == 2 && directory[0] == QLatin1Char('0') && directory[1] >= QLatin1Char('1')
               && directory[1] <= QLatin1Char('4')) {
        first = last = kFirstRecipeSection + (directory[1].unicode() - '1');
    } else {
        return nullptr;
    }
    for (int s = first; s <= last; ++s) {
        if (DBParam* p = m_doc->Sections().Find(s, number))
            return p;
    }
    return nullptr;
}

void DeviceState::RefreshLiveValue(const DBParam& p)
{
    // The date and time program codes of the general-purpose section show the device clock.
    if (p.section != 5 || p.def->type != ValueType::Text || !p.def->IsReadOnly())
        return;
    const QDateTime now = Now();
    if (p.number == 101)
        StoreValue(m_doc->Image(), p, now.toString(QStringLiteral("MM/dd/yy")));
    else if (p.number == 102)
        StoreValue(m_doc->Image(), p, now.toString(QStringLiteral("HH:mm:ss")));
}

bool DeviceState::EnterProgramMode()
{
    if (m_locked)
        return false;
    m_programMode = true;
    return true;
}

QDateTime DeviceState::Now() const
{
    return QDateTime::currentDateTime().addSecs(m_clockOffsetSecs);
}

void DeviceState::SetClock(const QDateTime& t)
{
    m_clockOffsetSecs = QDateTime::currentDateTime().secsTo(t);
}

QByteArray DeviceState::UserRegister(char kind, int number) const
{
    const QByteArray key = QByteArray(1, kind) + QByteArray::number(number);
    const auto it = m_userRegisters.constFind(key);
    if (it != m_userRegisters.constEnd())
        return *it;
    switch (kind) {
    case 'B':
        return "0";
    case 'F':
        return "0.000000";
    case 'T':
        return "00:00:00";
    default:
        return QByteArray();
    }
}

void DeviceState::SetUserRegister(char kind, int number, const QByteArray& value)
{
    m_userRegisters.insert(QByteArray(1, kind) + QByteArray::number(number), value);
}

void DeviceState::RestartWithFirmware(uint32_t firmwareCrc)
{
    m_firmwareCrc = firmwareCrc;
    m_ramExecutive = false;
    m_programMode = false;
    m_userRegisters.clear();
    QString ignored;
    Initialise(QString(), &ignored); // factory defaults cannot fail
}
