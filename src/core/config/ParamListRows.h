// The rows of the parameter list of a configuration document: which program codes a section
// lists, the texts of each row's columns, the texts of a row rewritten after an edit, and
// which row takes the focus after a refill. The list view only shows what this returns.
//
// Invariants: a row exists for every DBParam of the section and for nothing else; the value
// cell is empty unless the DBParam is programmed; the "Sec. Lvl" text is present only when the
// column is shown.
#pragma once

#include <QString>
#include <vector>

class CquillTrakDoc;
struct DBParam;

struct ParamListRow {
    DBParam* param = nullptr;
    QString name;    // "ID  Description": the name up to its first "{"
    QString value;   // "Value": empty unless programmed
    QString comment; // "Comments": "Read Only" or a blank
    QString level;   // "Sec. Lvl": "%d" or "N/A"; empty when the column is not shown
};

class ParamListRows {
public:
    static constexpr int kSecLvlColumn = 3;

    // The rows of a section (0..17) in position order; none for an empty or unknown section.
    static std::vector<ParamListRow> Rows(const CquillTrakDoc& doc, int section, bool showSecLvl);

    // The value cell of a row as a refill shows it: FormatValue, and for a program code with
    // an option list the option text after it ("04 Printer").
    static QString ValueText(const CquillTrakDoc& doc, const DBParam& p);
    // The value cell rewritten after an accepted edit: a double click shows it as a refill
    // does; the Enter key shows an option program code with its plain number ("4 Printer").
    static QString EditedValueText(const CquillTrakDoc& doc, const DBParam& p, bool byEnter);

    // The row to focus and select after a refill: for the recipe sections (13 to 17) the row
    // that had the focus (row 0 when none had), so moving between recipe instances keeps the
    // same program code; row 0 for every other section. Clamped to the rows there are; -1 when
    // the section has no rows.
    static int FocusRow(int section, int rememberedRow, int rowCount);
};
