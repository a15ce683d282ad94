// Edits one program code from the parameter list: refuses read-only program codes, opens the
// dialog of the program code's kind and applies an accepted edit through the core (offline
// store, or "PC"/"XC" to the answering device). Returns true when the document changed, so
// the list view refreshes the row.
#pragma once

class CquillTrakDoc;
class QWidget;
class UserInterface;
class VandtProtocol;
struct DBParam;

bool EditParam(QWidget* parent, CquillTrakDoc& doc, DBParam& p, VandtProtocol* link, UserInterface& ui);
