// Parameter listing on a printer (see CParamListingPrinter.h).
#include "CParamListingPrinter.h"

#include "ParamListing.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

bool CParamListingPrinter::PrintListing(QPrinter& printer, const CquillTrakDoc& doc, const QString& documentName,
                                        bool selectionOnly)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The listing lines up its name, value and level columns with blanks, so it is drawn in
    // the fixed-pitch font a printer's own default font would be; the painter's default
    // (the application's proportional font) would leave the columns ragged.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    painter.setFont(font);
    const QFontMetrics metrics(painter.font());
    const int h = qMax(1, metrics.height());
    const int linesPerPage = qMax(10, painter.viewport().height() / h);
    const auto pages = ParamListing::Layout(doc, ParamListing::OptionsFromSettings(documentName, linesPerPage, selectionOnly));
    bool first = true;
    for (const ParamListing::Page& page : pages) {
        if (!first && !printer.newPage())
            return false;
        first = false;
        for (const ParamListing::Line& line : page)
            painter.drawText(0, line.y * h + metrics.ascent(), line.text);
    }
    return painter.end();
}

bool CParamListingPrinter::Print(QWidget* parent, const CquillTrakDoc& doc, const QString& documentName)
{
    QPrinter printer;
    return Print(parent, printer, doc, documentName);
}

bool CParamListingPrinter::Print(QWidget* parent, QPrinter& printer, const CquillTrakDoc& doc,
                                 const QString& documentName)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return PrintListing(printer, doc, documentName, printer.printRange() == QPrinter::Selection);
}

bool CParamListingPrinter::PrintDirect(const CquillTrakDoc& doc, const QString& documentName)
{
    QPrinter printer;
    return PrintListing(printer, doc, documentName, false);
}

void CParamListingPrinter::PrintPreview(QWidget* parent, const CquillTrakDoc& doc, const QString& documentName)
{
    QPrinter printer;
    PrintPreview(parent, printer, doc, documentName);
}

void CParamListingPrinter::PrintPreview(QWidget* parent, QPrinter& printer, const CquillTrakDoc& doc,
                                        const QString& documentName)
{
    // The preview asks for the whole job at once; the listing breaks its pages itself, and the
    // preview pages through what it drew.
    QPrintPreviewDialog preview(&printer, parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&doc, &documentName](QPrinter* printer) { PrintListing(*printer, doc, documentName, false); });
    preview.exec();
}

bool CParamListingPrinter::PrintToPdf(const CquillTrakDoc& doc, const QString& documentName, const QString& pdfPath)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    return PrintListing(printer, doc, documentName, false);
}
