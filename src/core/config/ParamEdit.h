// The parts of a parameter edit that do not need a window: which dialog edits a program code,
// its help context, and the offline store of an accepted edit into the document's image.
//
// An offline store either changes nothing and returns the message to show, or stores the value
// with StoreValue, marks the DBParam programmed and sets the security level; the edit is never
// applied halfway.
#pragma once

#include "ConfigImage.h"
#include "DBParam.h"
#include "ParamDef.h"

#include <QString>

#include <optional>

class ParamEdit {
public:
    // The dialogs: general (147), option list (148), alarm flags (149), IP address (2008).
    enum class DialogKind { General, List, Alarm, IPAddress };

    // Directory 6 or 7 -> Alarm; else an option list -> List; else directory 3 with type
    // UInt32 -> IPAddress; else General.
    static DialogKind ChooseDialog(const ParamDef& def);

    // "You can only read this program code.\nUse the SD command in Terminal Emulator to set
    // time/date."
    static QString ReadOnlyMessage();

    // 10000 + 1000 * g + program code number; g = 0 for sections 0-4, 1 for 5-12, 5 for 13-17.
    static int HelpContextId(const DBParam& p);

    // The OK checks for a value text: Text program codes their length (and the time form of
    // 733 Report Print Time, whose letter is upper-cased inside valueText); every other program
    // code its range. The values the option, alarm and IP dialogs build always pass; a value
    // text from elsewhere is held to the same range.
    static std::optional<QString> CheckValue(const ParamDef& def, QString& valueText);

    // Stores an accepted edit while the document has no answering device: refuses read-only
    // program codes with ReadOnlyMessage(), runs CheckValue, stores the (possibly upper-cased)
    // text, marks the DBParam programmed and, when the ParamDef has a security level and a
    // level is given, sets it. level is the dialog's choice + 1: 1 to 3, or 0 when no level was
    // chosen (the program code stays without one). Returns the message on failure, nothing on
    // success.
    static std::optional<QString> StoreOffline(ConfigImage& image, DBParam& p, const QString& valueText,
                                               std::optional<int> level = std::nullopt);
};
