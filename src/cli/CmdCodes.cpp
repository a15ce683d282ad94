// quarrant codes [--json]: the whole program-code table in table order.
#include "CliHandlers.h"

#include "ParamTable.h"
#include "RegisterTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString Hex8(uint32_t v)
{
    return QStringLiteral("%1").arg(v, 8, 16, QLatin1Char('0')).toUpper();
}

QString Location(const ParamDef& def)
{
    return QStringLiteral("%1%2").arg(def.location.block == ImageBlock::RunData ? QStringLiteral("R") : QString()).arg(def.location.offset);
}

QJsonValue OptionalNumber(int v)
{
    return v < 0 ? QJsonValue() : QJsonValue(v);
}

} // namespace

int CmdCodes(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Write the table as JSON."));
    parser.addOption(json);
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("codes"), args, ctx, &exitCode, 0, 0))
        return exitCode;

    if (parser.isSet(json)) {
        QJsonArray rows;
        for (const ParamDef& def : ParamTable::Entries()) {
            QJsonObject o;
            o[QStringLiteral("register")] = Hex8(MakeRegisterId(def, 0));
            o[QStringLiteral("type")] = QString::fromLatin1(ValueTypeName(def.Type()));
            o[QStringLiteral("directory")] = def.directory;
            o[QStringLiteral("index")] = def.index;
            o[QStringLiteral("name")] = QString::fromLatin1(def.name);
            o[QStringLiteral("format")] = QString::fromLatin1(def.format);
            o[QStringLiteral("width")] = def.width;
            o[QStringLiteral("precision")] = def.precision;
            o[QStringLiteral("minimum")] = static_cast<double>(def.minimum);
            o[QStringLiteral("maximum")] = static_cast<double>(def.maximum);
            o[QStringLiteral("instances")] = def.instanceCount;
            o[QStringLiteral("stride")] = def.instanceStride;
            o[QStringLiteral("optionList")] = OptionalNumber(def.optionList);
            o[QStringLiteral("block")] = def.location.block == ImageBlock::Config ? QStringLiteral("config") : QStringLiteral("runData");
            o[QStringLiteral("offset")] = def.location.offset;
            o[QStringLiteral("securityOffset")] = OptionalNumber(def.securityOffset);
            o[QStringLiteral("sectionCode")] = static_cast<qint64>(def.sectionCode);
            o[QStringLiteral("nameLiteral")] = OptionalNumber(def.nameLiteral);
            o[QStringLiteral("helpLiteral")] = OptionalNumber(def.helpLiteral);
            rows.append(o);
        }
        ctx.out << QJsonDocument(rows).toJson(QJsonDocument::Indented);
        return ExitOk;
    }

    ctx.out << "Register\tType\tDir\tIndex\tName\tFormat\tWidth\tPrec\tMinimum\tMaximum\tInstances\tOptions\tLocation\tSecurity\n";
    for (const ParamDef& def : ParamTable::Entries()) {
        ctx.out << Hex8(MakeRegisterId(def, 0)) << '\t' << ValueTypeName(def.Type()) << '\t' << int(def.directory) << '\t'
                << int(def.index) << '\t' << def.name << '\t' << def.format << '\t' << int(def.width) << '\t' << int(def.precision)
                << '\t' << QString::number(def.minimum, 'g', 9) << '\t' << QString::number(def.maximum, 'g', 10) << '\t'
                << def.instanceCount << '\t' << (def.HasOptions() ? QString::number(def.optionList) : QStringLiteral("-"))
                << '\t' << Location(def) << '\t'
                << (def.HasSecurityLevel() ? QString::number(def.securityOffset) : QStringLiteral("-")) << '\n';
    }
    return ExitOk;
}
