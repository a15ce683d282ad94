// Prints a configuration document's parameter listing (laid out by the core's ParamListing)
// on a QPrinter: Print with the print dialog (All or Selection), Print Direct on the default
// printer, Print Preview, and Print to PDF. Each line is drawn at the left margin in the
// printer's default font; the line height is that of the title text. The variants that take a
// printer use its settings (the application's Print Setup) and leave it configured as the user
// chose in the print dialog.
#pragma once

#include <QString>

class CquillTrakDoc;
class QPrinter;
class QWidget;

class CParamListingPrinter {
public:
    // Draws every page of the listing on an initialised printer; false when painting failed.
    static bool PrintListing(QPrinter& printer, const CquillTrakDoc& doc, const QString& documentName,
                             bool selectionOnly);

    static bool Print(QWidget* parent, const CquillTrakDoc& doc, const QString& documentName);
    static bool Print(QWidget* parent, QPrinter& printer, const CquillTrakDoc& doc, const QString& documentName);
    static bool PrintDirect(const CquillTrakDoc& doc, const QString& documentName);
    static void PrintPreview(QWidget* parent, const CquillTrakDoc& doc, const QString& documentName);
    static void PrintPreview(QWidget* parent, QPrinter& printer, const CquillTrakDoc& doc, const QString& documentName);
    static bool PrintToPdf(const CquillTrakDoc& doc, const QString& documentName, const QString& pdfPath);
};
