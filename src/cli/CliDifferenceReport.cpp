// The difference listing of diff and compare (see CliDifferenceReport.h).
#include "CliDifferenceReport.h"

#include "Section.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString SideText(const ConfigComparison::Side& side)
{
    const QString value = side.programmed ? QStringLiteral("\"%1\"").arg(side.value) : QStringLiteral("(not programmed)");
    return QStringLiteral("%1 level %2").arg(value).arg(side.level);
}

QJsonObject SideJson(const ConfigComparison::Side& side)
{
    QJsonObject o;
    o[QStringLiteral("programmed")] = side.programmed;
    o[QStringLiteral("value")] = side.value;
    o[QStringLiteral("level")] = side.level;
    return o;
}

} // namespace

int PrintDifferenceReport(const std::vector<ConfigComparison::Difference>& differences, CliContext& ctx, bool json)
{
    if (json) {
        QJsonArray rows;
        for (const ConfigComparison::Difference& d : differences) {
            QJsonObject o;
            o[QStringLiteral("section")] = d.section;
            o[QStringLiteral("sectionTitle")] = QString::fromLatin1(Section(d.section)->title);
            o[QStringLiteral("code")] = d.param->number;
            o[QStringLiteral("instance")] = d.param->instance;
            o[QStringLiteral("name")] = d.param->def->DisplayName();
            o[QStringLiteral("a")] = SideJson(d.a);
            o[QStringLiteral("b")] = SideJson(d.b);
            rows.append(o);
        }
        QJsonObject top;
        top[QStringLiteral("equal")] = differences.empty();
        top[QStringLiteral("differences")] = rows;
        ctx.out << QJsonDocument(top).toJson(QJsonDocument::Indented);
    } else {
        int section = -1;
        for (const ConfigComparison::Difference& d : differences) {
            if (d.section != section) {
                section = d.section;
                ctx.out << Section(section)->title << "\n";
            }
            ctx.out << "  " << d.param->def->DisplayName().leftJustified(36) << ' ' << SideText(d.a) << "  |  "
                    << SideText(d.b) << "\n";
        }
    }
    return differences.empty() ? ExitOk : ExitFailure;
}
