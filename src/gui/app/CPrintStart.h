// A start of the application for printing only (--print FILE, --print-to FILE PRINTER): the
// request goes to the running instance when there is one (which prints its open document, or
// opens the file, prints it and closes it again); otherwise this process prints the file
// without showing a window and ends. Messages go to stderr, never to a dialog, so a script
// that prints is never stopped by a question.
//
// Invariants: a print-only start never becomes the running instance and never opens a window;
// its exit code is 0 when the listing was printed, 1 otherwise.
#pragma once

#include <QString>

class CquillTrakApp;

class CPrintStart {
public:
    // target: empty for the default printer, else as CPrinterTarget reads it.
    static int Run(CquillTrakApp& app, const QString& instanceName, const QString& file, const QString& target);
};
