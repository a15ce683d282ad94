// Where a print request from the command line goes (--print, --print-to): a printer by name,
// the default printer, or a PDF file. A target that names a PDF file is "pdf:PATH" or any
// name ending in ".pdf" (any case); a relative PDF path is taken from the current folder of the
// process that made the request, so Absolute() is applied before a request is handed over.
//
// Invariants: Configure never leaves a printer aimed at a printer that does not exist; it
// reports that instead.
#pragma once

#include <QString>

class QPrinter;

class CPrinterTarget {
public:
    // The PDF file a target names, or empty when it names a printer.
    static QString PdfPath(const QString& target);
    // The target with a PDF path made absolute against the current folder.
    static QString Absolute(const QString& target);
    // Aims the printer at the target (empty: the default printer); false with *error when
    // there is no such printer.
    static bool Configure(QPrinter& printer, const QString& target, QString* error);
};
