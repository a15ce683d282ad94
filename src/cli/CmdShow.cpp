// quarrant show FILE.qcf: the listing of the parameter list view for one or every section:
// name (without the read-only mark), value text when programmed ("%s %s" with the option
// text for option codes), the comment and, with --levels, the security level.
#include "CliHandlers.h"

#include "ConsoleUserInterface.h"
#include "CquillTrakDoc.h"
#include "Section.h"
#include "ValueFormat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString ValueText(const CquillTrakDoc& doc, const DBParam& p)
{
    if (!p.programmed)
        return QString();
    const QString text = FormatValue(p, doc.Image());
    return p.def->HasOptions() ? OptionValueText(*p.def, text) : text;
}

QString LevelText(int level)
{
    return level == 0 ? QStringLiteral("N/A") : QString::number(level);
}

} // namespace

int CmdShow(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FILE.qcf"), QStringLiteral("The configuration document."));
    const QCommandLineOption section(QStringLiteral("section"),
                                     QStringLiteral("Only section S: a number 0-17 or its title."), QStringLiteral("S"));
    const QCommandLineOption levels(QStringLiteral("levels"), QStringLiteral("Show the security levels."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Write the listing as JSON."));
    parser.addOptions({section, levels, json});
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("show"), args, ctx, &exitCode, 1, 1))
        return exitCode;

    QList<int> sections;
    if (parser.isSet(section)) {
        const int s = ParseSection(parser.value(section));
        if (s < 0) {
            ctx.err << "quarrant show: no section '" << parser.value(section) << "' (0-17 or a title)\n";
            return ExitUsage;
        }
        sections << s;
    } else {
        for (int s = 0; s < kSectionCount; ++s)
            sections << s;
    }

    ConsoleUserInterface ui;
    CquillTrakDoc doc;
    QString error;
    if (!doc.OpenFile(parser.positionalArguments().front(), ui, &error))
        return Fail(ctx, error);

    const bool withLevels = parser.isSet(levels);
    if (parser.isSet(json)) {
        QJsonArray rows;
        for (int s : sections) {
            for (const DBParam* p : doc.Sections().SectionParams(s)) {
                QJsonObject o;
                o[QStringLiteral("section")] = s;
                o[QStringLiteral("sectionTitle")] = QString::fromLatin1(Section(s)->title);
                o[QStringLiteral("code")] = p->number;
                o[QStringLiteral("instance")] = p->instance;
                o[QStringLiteral("name")] = p->def->DisplayName();
                o[QStringLiteral("programmed")] = p->programmed != 0;
                o[QStringLiteral("value")] = ValueText(doc, *p);
                o[QStringLiteral("comment")] = CommentText(*p->def);
                o[QStringLiteral("level")] = doc.GetSecurityLevel(*p);
                rows.append(o);
            }
        }
        ctx.out << QJsonDocument(rows).toJson(QJsonDocument::Indented);
        return ExitOk;
    }

    bool first = true;
    for (int s : sections) {
        const auto params = doc.Sections().SectionParams(s);
        if (params.empty() && !parser.isSet(section))
            continue;
        if (!first)
            ctx.out << "\n";
        first = false;
        ctx.out << Section(s)->title << "\n";
        for (const DBParam* p : params) {
            ctx.out << "  " << p->def->DisplayName().leftJustified(36) << ' ' << ValueText(doc, *p).leftJustified(24)
                    << ' ' << CommentText(*p->def);
            if (withLevels)
                ctx.out << "  " << LevelText(doc.GetSecurityLevel(*p));
            ctx.out << "\n";
        }
    }
    return ExitOk;
}
