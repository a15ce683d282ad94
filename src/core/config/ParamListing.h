// The parameter listing printout laid out as lines on pages, without a printer: a title,
// then per section a heading "%s Directory" and one line per program code with its name,
// value and (on request) security level. Positions are in lines of the print font's height;
// the page holds linesPerPage lines. The printer side only draws each line at its position.
//
// Invariants: the document is not changed (the current section is left as it was); every
// page but the last ends where a section or line would pass the page's bottom margin.
#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

class CquillTrakDoc;
struct DBParam;

class ParamListing {
public:
    struct Line {
        int y = 0; // in lines from the top of the printable area
        QString text;
    };
    using Page = std::vector<Line>;

    struct Options {
        int linesPerPage = 60;
        bool selectionOnly = false; // the current section (0: sections 1-4, 13: the recipes)
        int suppressBelowLevel = 0; // "ParamPrint"/"SuppressBelowLvl"
        bool showSecurityLevel = false; // "ParamPrint"/"ShowSecLvl"
        QString documentName;       // path name, or the title when there is none
        QDateTime printedAt;
    };

    // The options from the application settings ("ParamPrint" group) for this document.
    static Options OptionsFromSettings(const QString& documentName, int linesPerPage, bool selectionOnly);

    static std::vector<Page> Layout(const CquillTrakDoc& doc, const Options& options);

    // "%s - Printed %s " with the time as "%B %d, %Y %H:%M".
    static QString TitleLine(const Options& options);
    // One program code's line with the security suffix when asked for.
    static QString ProgramCodeLine(const CquillTrakDoc& doc, const DBParam& p, bool showSecurityLevel);
};
