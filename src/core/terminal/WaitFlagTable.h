// The condition flags that WAITFOR can wait for: 24 two-letter names, each a bit of one
// character of the reply to the status command "EQ". A flag is set when the character AND
// its mask equals the mask. Names are searched in table order (AU, FL, RL, PW, KY, ...).
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <span>

struct WaitFlag {
    const char* name;
    int position; // character of the status reply, from 0
    int mask;     // 0x1, 0x2, 0x4 or 0x8
};

class WaitFlagTable {
public:
    static std::span<const WaitFlag> Flags();
    // The flag named by the first two characters of text (case ignored), or nullptr.
    static const WaitFlag* Find(const QString& text);
    // The flag's state in a status reply; nullopt when the reply is too short to carry it
    // (then it tells neither set nor clear).
    static std::optional<bool> IsSet(const WaitFlag& flag, const QByteArray& statusReply);
};
