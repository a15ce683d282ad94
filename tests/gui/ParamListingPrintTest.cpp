// Print to PDF of a new document's parameter listing: the file is written and holds pages.
#include "GuiTestApp.h"

#include "CquillTrakDoc.h"
#include "dialogs/CParamListingPrinter.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

TEST(ParamListingPrintTest, PrintToPdfWritesTheListing)
{
    EnsureGuiApp();
    QTemporaryDir dir;
    CquillTrakDoc doc;
    const QString path = dir.filePath(QStringLiteral("listing.pdf"));
    ASSERT_TRUE(CParamListingPrinter::PrintToPdf(doc, QStringLiteral("Untitled"), path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    // More than one page: the 245 program code lines do not fit on one.
    EXPECT_GT(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 1);
}
