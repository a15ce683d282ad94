// Print to PDF of a new document's parameter listing, read back through pdftotext: the title
// line with the print time, the sixteen section headings in order with every program code and
// a blank value, and "SuppressBelowLvl" 2 leaving out program codes below level 3.
#include "GuiTestApp.h"

#include "CquillTrakDoc.h"
#include "ParamListing.h"
#include "dialogs/CParamListingPrinter.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QStringList kSections = {
    QStringLiteral("Pulse Outputs"),   QStringLiteral("Digital Inputs"),      QStringLiteral("Digital Outputs"),
    QStringLiteral("Analog Inputs"),   QStringLiteral("General Purpose"),     QStringLiteral("Flow Control"),
    QStringLiteral("Volume Accuracy"), QStringLiteral("Temperature/Density"), QStringLiteral("Pressure"),
    QStringLiteral("Alarms"),          QStringLiteral("Communications"),      QStringLiteral("Additive Injectors"),
    QStringLiteral("Recipe 1"),        QStringLiteral("Recipe 2"),            QStringLiteral("Recipe 3"),
    QStringLiteral("Recipe 4")};

class ParamListingPrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureGuiApp();
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    void TearDown() override { Settings().remove(QStringLiteral("ParamPrint/SuppressBelowLvl")); }

    static QSettings Settings() { return QSettings(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid")); }

    DBParam& Find(int number)
    {
        for (DBParam* p = doc.Sections().Chain(); p; p = p->next)
            if (p->number == number && p->instance == 0)
                return *p;
        ADD_FAILURE() << "no program code " << number;
        return *doc.Sections().Chain();
    }

    // The printout's text lines (pages joined, empty lines dropped), as pdftotext reads the PDF;
    // compatibility forms undone, since pdftotext hands out ligatures such as U+FB00 for "ff".
    QStringList PrintedLines()
    {
        const QString pdf = m_dir.filePath(QStringLiteral("listing.pdf"));
        EXPECT_TRUE(CParamListingPrinter::PrintToPdf(doc, QStringLiteral("Untitled"), pdf));
        QFile file(pdf);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly) && file.read(4) == "%PDF");
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        EXPECT_TRUE(pdftotext.waitForFinished(30000));
        EXPECT_EQ(pdftotext.exitCode(), 0) << pdftotext.readAllStandardError().toStdString();
        QStringList lines;
        for (QString line : QString::fromUtf8(pdftotext.readAllStandardOutput()).split(QLatin1Char('\n'))) {
            line = line.normalized(QString::NormalizationForm_KC).remove(QLatin1Char('\f'));
            if (!line.trimmed().isEmpty())
                lines << line;
        }
        return lines;
    }

    CquillTrakDoc doc;
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ParamListingPrintTest, NewDocumentListsSixteenSectionsWithBlankValues)
{
    const QStringList lines = PrintedLines();
    ASSERT_FALSE(lines.isEmpty());
    static const QRegularExpression title(QStringLiteral("^Untitled - Printed [A-Z][a-z]+ \\d\\d, \\d{4} \\d\\d:\\d\\d$"));
    EXPECT_TRUE(title.match(lines.first()).hasMatch()) << '"' << lines.first().toStdString() << '"';
    // pdftotext never hands out blanks, so the title's closing blank is checked on the text
    // the printer draws.
    EXPECT_TRUE(ParamListing::TitleLine(ParamListing::OptionsFromSettings(QStringLiteral("Untitled"), 60, false))
                    .endsWith(QLatin1String(" ")));

    // Every other line is a heading or a program code's name alone: no value was ever stored.
    QStringList headings;
    QStringList expected;
    QStringList printed;
    for (const QString& line : lines.mid(1)) {
        if (line.endsWith(QLatin1String(" Directory")))
            headings << line.trimmed().chopped(int(qstrlen(" Directory")));
        else
            printed << line.trimmed();
    }
    EXPECT_EQ(headings, kSections) << headings.join(QLatin1Char('|')).toStdString();
    for (int s : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 17})
        for (const DBParam* p : doc.Sections().SectionParams(s))
            expected << QString::fromLatin1(p->def->name).left(40).trimmed();
    EXPECT_EQ(printed.join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString());
}

TEST_F(ParamListingPrintTest, LevelLimitThreeLeavesOutLowerAndUnleveledProgramCodes)
{
    doc.SetSecurityLevel(Find(111), 2);
    doc.SetSecurityLevel(Find(112), 3);
    Settings().setValue(QStringLiteral("ParamPrint/SuppressBelowLvl"), 2);
    const QStringList lines = PrintedLines();
    auto printed = [&lines](int number) {
        const QString prefix = QString::number(number) + QLatin1Char(' ');
        return std::any_of(lines.begin(), lines.end(), [&prefix](const QString& l) { return l.trimmed().startsWith(prefix); });
    };
    EXPECT_FALSE(printed(111));
    EXPECT_TRUE(printed(112));
    EXPECT_FALSE(printed(164)); // no security level
    EXPECT_EQ(lines.filter(QStringLiteral(" Directory")).size(), kSections.size());
}
