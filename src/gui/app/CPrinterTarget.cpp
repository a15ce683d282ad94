// Command-line print targets; see CPrinterTarget.h.
#include "app/CPrinterTarget.h"

#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

const QString kPdfPrefix = QStringLiteral("pdf:");

} // namespace

QString CPrinterTarget::PdfPath(const QString& target)
{
    if (target.startsWith(kPdfPrefix, Qt::CaseInsensitive))
        return target.mid(kPdfPrefix.size());
    if (target.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return target;
    return {};
}

QString CPrinterTarget::Absolute(const QString& target)
{
    const QString pdf = PdfPath(target);
    if (pdf.isEmpty())
        return target;
    return kPdfPrefix + QFileInfo(pdf).absoluteFilePath();
}

bool CPrinterTarget::Configure(QPrinter& printer, const QString& target, QString* error)
{
    if (target.startsWith(kPdfPrefix, Qt::CaseInsensitive) && PdfPath(target).isEmpty()) {
        *error = QStringLiteral("No PDF file is named in \"%1\".").arg(target);
        return false;
    }
    if (const QString pdf = PdfPath(target); !pdf.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QFileInfo(pdf).absoluteFilePath());
        return true;
    }
    const QPrinterInfo info = target.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(target);
    if (info.isNull()) {
        *error = target.isEmpty() ? QStringLiteral("No default printer is set up.")
                                  : QStringLiteral("The printer \"%1\" was not found.").arg(target);
        return false;
    }
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(info.printerName());
    return true;
}
