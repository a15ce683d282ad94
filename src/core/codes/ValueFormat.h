// The value texts of program codes: the one formatter (stored value -> fixed-width text), the
// one parser (text -> stored value), and the texts shown beside a value: valid range, read-only
// comment, option texts, security levels, alarm flags, IP addresses and the time-of-day form.
//
// Invariants:
// - Every text is returned by value; nothing is kept between calls.
// - Number texts never depend on the process locale: the decimal point is always "." and
//   exponents always carry a sign and at least three digits (1.000000e+000, 1e+010), the form
//   the device reads, whatever the C library prints.
// - The printf conversions come only from the static program-code table and are checked
//   before use; a conversion that does not fit its value type is replaced by the type's own.
// - No write leaves the value's own storage: every store is bounded by the ParamDef's storage
//   and by the bytes that the image has from the value's location on.
// - Stored text bytes map one to one onto the characters U+0000..U+00FF (Latin-1), so every
//   byte the device sends survives a round trip through the texts.
#pragma once

#include "ConfigImage.h"
#include "DBParam.h"
#include "ParamDef.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

// The value of a DBParam's instance (or of a ParamDef's instance) as fixed-width text. Never
// fails: value types above 9 are written as text; an instance the item does not have, or a
// location outside the image, reads as zero (empty text). Numbers are never cut, so a text may be wider than the
// ParamDef's width.
QString FormatValue(const DBParam& p, const ConfigImage& image);
QString FormatValue(const ParamDef& def, int instance, const ConfigImage& image);

// Parses the text by the value type and stores it at the instance's location. Returns false,
// storing nothing, for value types above 9, for an instance the item does not have and for a
// location outside the image. A text longer
// than its storage keeps its first storage - 1 characters (the rest of the storage is zeroed).
bool StoreValue(ConfigImage& image, const DBParam& p, const QString& text);
bool StoreValue(ConfigImage& image, const ParamDef& def, int instance, const QString& text);

// The "Valid Range:" line of the edit dialogs.
QString RangeText(const ParamDef& def);
// The "Comments" column: "Read Only" for read-only program codes, else a single blank.
QString CommentText(const ParamDef& def);

// Checks the time-of-day form HH:MMT (T = A, P or M). Turns the first letter of "AaPpMm"
// found from the sixth character on into upper case inside the text.
bool CheckTimeText(QString& text);

// Leading-number readers with the C library's rules (leading blanks, optional sign, decimal
// digits, stop at the first character that does not fit; no number reads as 0), independent
// of the process locale and free of overflow: atoi saturates at the 32-bit int range, strtoul
// reads like the device's 32-bit unsigned long (a negative number wraps, a too large one
// saturates at 4294967295).
int32_t LeadingInt(const QString& text);
uint32_t LeadingUnsigned(const QString& text);
// As atof/strtod read it, always with "." as the decimal point.
double LeadingReal(const QString& text);
// A double as an IEEE single; values beyond the single range become infinities.
float ToSingle(double value);
// "%.*g" of the value with the given number of significant digits and a three-digit exponent.
QString FormatSignificant(double value, int digits);

// Option texts. Option n of a ParamDef's option list, empty when the ParamDef has none or n
// lies outside 0..maximum.
QString OptionText(const ParamDef& def, int n);
// Parameter list: "%s %s" with the value text and the option its integer names (04 Printer).
// A value outside the option list shows the value text alone.
QString OptionValueText(const ParamDef& def, const QString& valueText);
// The row just edited with the Enter key: "%d %s" (4 Printer).
QString EditedOptionText(const ParamDef& def, int n);
// The list edit dialog: one entry per option from 0 while n <= maximum, "%0*d %s" (04 Printer).
QStringList OptionChoices(const ParamDef& def);
// An edited option value as passed on: "%d".
QString OptionValueFromChoice(int n);

// Security levels: choices "Level 1", "Level 2", "Level 3"; choice c is level c + 1.
QStringList SecurityLevelChoices();
int SecurityChoiceForLevel(int level); // L - 1; -1 (no choice) for a level outside 1..3
int LevelForSecurityChoice(int choice); // c + 1
// "Sec. Lvl" column when the list is filled: "%d", or "N/A" for level 0.
QString SecurityLevelText(int level);
// "Sec. Lvl" column of a row refreshed after an edit: "%d", 0 included.
QString RefreshedSecurityLevelText(int level);

// Alarm flags of the program codes of directories 6 and 7: bit values 1, 2 and 4.
constexpr int kAlarmFlagCount = 3;
using AlarmFlags = std::array<bool, kAlarmFlagCount>;
constexpr std::array<int, kAlarmFlagCount> kAlarmFlagBits = {1, 2, 4};
// "Allow clearing without passcode entry", "Energize Alarm Relay 1", "Energize  Alarm Relay 2".
QString AlarmFlagLabel(int flag);
// The current value text read with atoi, split into the three bits.
AlarmFlags SplitAlarmFlags(const QString& valueText);
// The sum of the set bit values as "%d".
QString JoinAlarmFlags(const AlarmFlags& flags);

// IP addresses: one 32-bit number with the first field in the most significant byte.
uint32_t IpFromValueText(const QString& valueText); // unsigned decimal, as strtoul reads it
std::array<uint8_t, 4> IpOctets(uint32_t address);
uint32_t IpFromOctets(const std::array<uint8_t, 4>& octets);
QString IpDottedText(uint32_t address);                      // "192.168.1.1"
std::optional<uint32_t> ParseDottedIp(const QString& text); // four fields 0..255, else none
QString IpValueText(uint32_t address);                       // "%lu"
