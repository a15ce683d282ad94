// Row texts and focus rule of the parameter list; see ParamListRows.h.
#include "ParamListRows.h"

#include "CquillTrakDoc.h"
#include "ValueFormat.h"

std::vector<ParamListRow> ParamListRows::Rows(const CquillTrakDoc& doc, int section, bool showSecLvl)
{
    std::vector<ParamListRow> rows;
    if (section < 0 || section >= kSectionCount)
        return rows;
    for (DBParam* p : doc.Sections().SectionParams(section)) {
        ParamListRow row;
        row.param = p;
        row.name = QString::fromLatin1(p->def->name).section(QLatin1Char('{'), 0, 0);
        if (p->programmed)
            row.value = ValueText(doc, *p);
        row.comment = CommentText(*p->def);
        if (showSecLvl)
            row.level = SecurityLevelText(doc.GetSecurityLevel(*p));
        rows.push_back(std::move(row));
    }
    return rows;
}

QString ParamListRows::ValueText(const CquillTrakDoc& doc, const DBParam& p)
{
    const QString text = FormatValue(p, doc.Image());
    return p.def->HasOptions() ? OptionValueText(*p.def, text) : text;
}

QString ParamListRows::EditedValueText(const CquillTrakDoc& doc, const DBParam& p, bool byEnter)
{
    if (byEnter && p.def->HasOptions())
        return EditedOptionText(*p.def, LeadingInt(FormatValue(p, doc.Image())));
    return ValueText(doc, p);
}

int ParamListRows::FocusRow(int section, int rememberedRow, int rowCount)
{
    if (rowCount <= 0)
        return -1;
    const bool recipe = section >= 13 && section < kSectionCount;
    const int row = recipe && rememberedRow >= 0 ? rememberedRow : 0;
    return row < rowCount ? row : rowCount - 1;
}
