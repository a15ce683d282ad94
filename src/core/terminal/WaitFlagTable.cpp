// The WAITFOR flag table (see WaitFlagTable.h).
#include "WaitFlagTable.h"

namespace {

constexpr WaitFlag kFlags[] = {
    {"AU", 0, 0x1}, {"FL", 0, 0x2}, {"RL", 0, 0x4}, {"PW", 0, 0x8},
    {"KY", 1, 0x1}, {"BD", 1, 0x2}, {"TD", 1, 0x4}, {"TP", 1, 0x8},
    {"AL", 2, 0x1}, {"CD", 2, 0x2}, {"PD", 2, 0x4}, {"PP", 2, 0x8},
    {"PF", 3, 0x1}, {"TO", 3, 0x2}, {"DP", 3, 0x4}, {"PC", 3, 0x8},
    {"I3", 4, 0x1}, {"I2", 4, 0x2}, {"I1", 4, 0x4}, {"CE", 4, 0x8},
    {"I7", 5, 0x1}, {"I6", 5, 0x2}, {"I5", 5, 0x4}, {"I4", 5, 0x8},
};

} // namespace

std::span<const WaitFlag> WaitFlagTable::Flags()
{
    return kFlags;
}

const WaitFlag* WaitFlagTable::Find(const QString& text)
{
    if (text.size() < 2)
        return nullptr;
    const QString name = text.left(2);
    for (const WaitFlag& f : kFlags) {
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

std::optional<bool> WaitFlagTable::IsSet(const WaitFlag& flag, const QByteArray& statusReply)
{
    if (flag.position >= statusReply.size())
        return std::nullopt;
    const int c = static_cast<unsigned char>(statusReply[flag.position]);
    return (c & flag.mask) == flag.mask;
}
