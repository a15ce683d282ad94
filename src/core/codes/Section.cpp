// The section table (see Section.h).
#include "Section.h"

namespace {

const SectionInfo kSections[kSectionCount] = {
    {"Configuration", 0, 9999, 0},
    {"Pulse Outputs", 10000, 10199, 0},
    {"Digital Inputs", 10200, 10299, 0},
    {"Digital Outputs", 10300, 10399, 0},
    {"Analog Inputs", 10400, 10499, 0},
    {"General Purpose", 11000, 11999, 0},
    {"Flow Control", 12000, 12999, 0},
    {"Volume Accuracy", 13000, 13999, 0},
    {"Temperature/Density", 14000, 14999, 0},
    {"Pressure", 15000, 15999, 0},
    {"Alarms", 16000, 16999, 0},
    {"Communications", 17000, 17999, 0},
    {"Additive Injectors", 18000, 18999, 0},
    {"Recipe", 19000, 19999, 0},
    {"Recipe 1", 20000, 20999, 0},
    {"Recipe 2", 20000, 20999, 1},
    {"Recipe 3", 20000, 20999, 2},
    {"Recipe 4", 20000, 20999, 3},
};

} // namespace

const SectionInfo* Section(int number)
{
    if (number < 0 || number >= kSectionCount)
        return nullptr;
    return &kSections[number];
}

QString CommandDirectory(int section, int instance)
{
    if (section < 5)
        return QStringLiteral("CF");
    if (section <= 12)
        return QStringLiteral("SY");
    return QStringLiteral("%1").arg(instance + 1, 2, 10, QLatin1Char('0'));
}

int ParseSection(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (ok)
        return (n >= 0 && n < kSectionCount) ? n : -1;
    for (int s = 0; s < kSectionCount; ++s) {
        if (text.trimmed().compare(QLatin1String(kSections[s].title), Qt::CaseInsensitive) == 0)
            return s;
    }
    return -1;
}
