// The parameter listing's layout: which sections get a heading, the program-code lines with
// their values and levels, the level filter and page breaks.
#include "CquillTrakDoc.h"
#include "LiteralTable.h"
#include "ParamListing.h"
#include "ValueFormat.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QStringList Headings(const std::vector<ParamListing::Page>& pages)
{
    QStringList out;
    for (const auto& page : pages)
        for (const auto& line : page)
            if (line.text.endsWith(QLatin1String(" Directory")))
                out << line.text;
    return out;
}

QStringList Texts(const std::vector<ParamListing::Page>& pages)
{
    QStringList out;
    for (const auto& page : pages)
        for (const auto& line : page)
            out << line.text;
    return out;
}

ParamListing::Options Options()
{
    ParamListing::Options o;
    o.documentName = QStringLiteral("/tmp/site.qcf");
    o.printedAt = QDateTime(QDate(2026, 3, 5), QTime(14, 7));
    return o;
}

DBParam& Find(CquillTrakDoc& doc, int number)
{
    for (DBParam* p = doc.Sections().Chain(); p; p = p->next)
        if (p->number == number)
            return *p;
    ADD_FAILURE() << number;
    return *doc.Sections().Chain();
}

} // namespace

TEST(ParamListingTest, AllListsSixteenSectionsWithBlankValuesForANewDocument)
{
    InitLiteralTable();
    CquillTrakDoc doc;
    const auto pages = ParamListing::Layout(doc, Options());
    const QStringList headings = Headings(pages);
    ASSERT_EQ(headings.size(), 16);
    EXPECT_EQ(headings.front(), QStringLiteral("Pulse Outputs Directory"));
    EXPECT_EQ(headings.at(11), QStringLiteral("Additive Injectors Directory"));
    EXPECT_EQ(headings.at(12), QStringLiteral("Recipe 1 Directory"));
    EXPECT_EQ(headings.back(), QStringLiteral("Recipe 4 Directory"));
    EXPECT_GT(pages.size(), 1u);
    EXPECT_EQ(Texts(pages).front(), QStringLiteral("/tmp/site.qcf - Printed March 05, 2026 14:07 "));
    const QString line = ParamListing::ProgramCodeLine(doc, Find(doc, 111), false);
    EXPECT_EQ(line, QStringLiteral("111 Flow Rate Time").leftJustified(40) + QLatin1Char(' ') + QString(32, QLatin1Char(' ')));
    for (const auto& page : pages)
        for (const auto& l : page)
            EXPECT_LE(l.y, 60 - 3 + 1);
}

TEST(ParamListingTest, SelectionListsTheSelectedSectionOrTheRecipes)
{
    CquillTrakDoc doc;
    ParamListing::Options o = Options();
    o.selectionOnly = true;
    doc.currentSection = 13;
    EXPECT_EQ(Headings(ParamListing::Layout(doc, o)),
              (QStringList{QStringLiteral("Recipe 1 Directory"), QStringLiteral("Recipe 2 Directory"),
                           QStringLiteral("Recipe 3 Directory"), QStringLiteral("Recipe 4 Directory")}));
    doc.currentSection = 1;
    EXPECT_EQ(Headings(ParamListing::Layout(doc, o)), QStringList{QStringLiteral("Pulse Outputs Directory")});
    EXPECT_EQ(doc.currentSection, 1);
}

TEST(ParamListingTest, LevelFilterAndSuffix)
{
    InitLiteralTable();
    CquillTrakDoc doc;
    DBParam& alarm = Find(doc, 611);
    ASSERT_TRUE(StoreValue(doc.Image(), alarm, QStringLiteral("5")));
    alarm.programmed = 1;
    DBParam& time = Find(doc, 111);
    ASSERT_TRUE(StoreValue(doc.Image(), time, QStringLiteral("1")));
    time.programmed = 1;
    doc.SetSecurityLevel(time, 3);

    ParamListing::Options o = Options();
    o.showSecurityLevel = true;
    EXPECT_TRUE(ParamListing::ProgramCodeLine(doc, Find(doc, 164), true).endsWith(QLatin1String("    N/A")));
    const QString option = ParamListing::ProgramCodeLine(doc, time, true);
    EXPECT_TRUE(option.mid(41).startsWith(EditedOptionText(*time.def, 1))) << qPrintable(option);
    EXPECT_TRUE(option.endsWith(QLatin1String("    3")));

    o.suppressBelowLevel = 2;
    const QStringList texts = Texts(ParamListing::Layout(doc, o));
    auto listed = [&texts](const char* name) {
        return std::any_of(texts.begin(), texts.end(), [name](const QString& t) { return t.startsWith(QLatin1String(name)); });
    };
    EXPECT_TRUE(listed("111 Flow Rate Time"));
    EXPECT_FALSE(listed("164 Level for Security Input"));
    EXPECT_FALSE(listed("611 Communications Alarm"));
}
