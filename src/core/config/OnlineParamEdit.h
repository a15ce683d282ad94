// Applies an accepted parameter edit: into the document alone while it has no answering
// device, or first to the device ("PC dd nnn value", then "XC dd nnn level" for a changed
// level) when it answers (ReadOnly or Online). The edit dialogs decide nothing of this; they
// hand the value text and level choice here.
//
// Invariants: the document's value changes only when it was stored offline or the device
// accepted "PC"; its level changes only offline or after an accepted "XC". A refused or failed
// "PC" leaves value and level untouched. No "XC" goes out when the level did not change.
#pragma once

#include <QString>

class CquillTrakDoc;
class UserInterface;
class VandtProtocol;
struct DBParam;

class OnlineParamEdit {
public:
    // Applies the edit; true when the document changed (the list view then refreshes the row).
    // level is the dialog's security choice + 1 (1..3), or 0 when the program code has no
    // level. link is the document's link (may be null; an answering document without one
    // reports a failure). Every failure is shown through ui.
    static bool Apply(CquillTrakDoc& doc, VandtProtocol* link, UserInterface& ui, DBParam& p,
                      const QString& valueText, int level);

    // "PC %s %03.3d %s" and "XC %s %03.3d %d" for the DBParam's command directory and number.
    static QString ValueCommand(const DBParam& p, const QString& valueText);
    static QString LevelCommand(const DBParam& p, int level);
    // "Unable to set security level %d for %s %s\n" with the section title and device name.
    static QString LevelFailureMessage(const DBParam& p, int level);
};
