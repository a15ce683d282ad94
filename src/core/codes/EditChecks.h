// The checks that the parameter edit dialogs run when they are closed with OK. Each check
// returns the exact message the dialog shows (and then stays open), or nothing when the value
// passes. The checks never change the stored value; a passed value is stored with StoreValue.
//
// A numeric value passes when the number the dialog reads (atof's leading number, compared as
// a single) lies between the ParamDef's minimum and maximum, both included. The number that
// StoreValue will store must lie in the range as well, so the check and the store never
// disagree: a Float or Double text is read with the same decimal-comma rule as the store, and
// an integer text whose leading integer leaves the range (such as "0x2" for a range of 1 to 3,
// which atof reads as 2 but atoi as 0) is refused.
#pragma once

#include "ParamDef.h"

#include <QString>

#include <optional>

// "Enter no more than %1 characters." with the maximum.
QString TextLengthMessage(const ParamDef& def);
// "Must be valid time string of form HH:MMT where T=A (AM), P (PM) or M (Military)".
QString TimeTextMessage();
// "Enter a number between %1 and %2." with the minimum and maximum at 6 significant digits.
QString NumberRangeMessage(const ParamDef& def);

// True for 733 Report Print Time, the one text program code that holds a time of day.
bool IsTimeOfDayCode(const ParamDef& def);

// A text program code's new text: at most maximum characters.
std::optional<QString> CheckTextLength(const ParamDef& def, const QString& text);
// A numeric program code's new text: its leading number within the range.
std::optional<QString> CheckNumberRange(const ParamDef& def, const QString& text);
// The option number chosen in the list dialog: within the range.
std::optional<QString> CheckOptionNumber(const ParamDef& def, int n);

// The checks of the general dialog: for Text the length and, for 733 Report Print Time, the
// time form (CheckTimeText upper-cases the letter inside text); for numbers the range.
std::optional<QString> CheckGeneralEdit(const ParamDef& def, QString& text);
