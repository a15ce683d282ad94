// The device's 24 condition flags as the status command "EQ" reports them: six characters,
// each carrying four flags in its low bits (masks 1, 2, 4, 8) over the base character '0',
// so a character with no flag set is '0' and one with all four is '?'. A flag is set when
// (character AND mask) equals mask. Flags can be scripted to change after a number of status
// queries, so a host waiting for a flag sees it change.
#pragma once

#include "FlagScript.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>


class StatusFlags {
public:
    static constexpr int kFlagCount = 24;
    static constexpr int kStatusCharacters = 6;
    static constexpr char kBaseCharacter = '0';

    // "AU", "FL", ... in table order (position by position, masks 1, 2, 4, 8).
    static const std::array<const char*, kFlagCount>& Names();
    // The index of a two-letter name (case ignored), or nullopt.
    static std::optional<int> Find(const QString& name);
    // Parses "NAME", "NAME:N" (set, clears after N status replies) and "!NAME:N" (clear, set
    // after N status replies); false with *error for anything else.
    static bool ParseScript(const QString& text, FlagScript* script, QString* error);

    void Apply(const std::vector<FlagScript>& scripts);

    bool IsSet(int flag) const;
    void Set(int flag, bool on);

    // The six status characters of the current flags; then one status query is counted and
    // the scripted changes that are due take effect.
    QByteArray Query();
    // The current status characters, without counting a query.
    QByteArray Characters() const;
    // The names of the flags that are set, in table order.
    QStringList SetNames() const;

private:
    std::array<bool, kFlagCount> m_set{};
    std::vector<FlagScript> m_pending;
    int m_queries = 0;
};
