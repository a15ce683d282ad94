// Hands a finished transaction log to the spreadsheet templates: when
// "QuarrantDataTemplate.xls" (or else "QuarrantDataTemplate.xlsm") lies in the working
// directory and the program associated with it is the spreadsheet program (its path contains
// "EXCEL.EXE"), the log's full path is stored as "LogFileName" in the settings the template
// reads (organisation "VB and VBA Program Settings", application "QuarrantDataTemplate", group
// "TranslogData") and the template is opened; otherwise the log file itself is opened with its
// associated program.
//
// The lookup of the associated program and the shell's open are injected, so the decision is
// testable without a desktop; the defaults ask the platform.
#pragma once

#include <QString>
#include <functional>

class SpreadsheetHandOver {
public:
    // The command line (or path) of the program associated with an existing file; empty when
    // the file does not exist or has no associated program.
    using ProgramLookup = std::function<QString(const QString& filePath)>;
    // Opens a file with its associated program; false when that failed.
    using ShellOpen = std::function<bool(const QString& filePath)>;

    SpreadsheetHandOver(ShellOpen open, ProgramLookup lookup = AssociatedProgram);

    // The folder the templates are looked up in (default: the working directory).
    void SetTemplateDirectory(const QString& directory) { m_directory = directory; }

    // Runs the hand-over for a log file; returns the file it asked the shell to open.
    QString HandOver(const QString& logFilePath);

    // The platform's associated program of a file: on Windows from the file-type keys of the
    // registry, elsewhere from the desktop's default application (xdg-mime) and its Exec line.
    static QString AssociatedProgram(const QString& filePath);

private:
    ShellOpen m_open;
    ProgramLookup m_lookup;
    QString m_directory;
};
