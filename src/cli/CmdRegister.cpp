// quarrant register ID: resolves a register id to its directory, name, type and instances.
#include "CliHandlers.h"

#include "Directory.h"
#include "RegisterTable.h"

int CmdRegister(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("ID"), QStringLiteral("Register id: hexadecimal with 0x, or decimal."));
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("register"), args, ctx, &exitCode, 1, 1))
        return exitCode;
    const QString text = parser.positionalArguments().front().trimmed();
    bool ok = false;
    const qulonglong value = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
        ? text.mid(2).toULongLong(&ok, 16)
        : text.toULongLong(&ok, 10);
    if (!ok || value > 0xFFFFFFFFull) {
        ctx.err << "quarrant register: '" << text << "' is not a register id\n";
        return ExitUsage;
    }
    const RegisterId id = static_cast<RegisterId>(value);
    const ParamDef* def = FindRegister(id);
    if (!def)
        return Fail(ctx, QStringLiteral("no register has the id 0x%1").arg(id, 8, 16, QLatin1Char('0')).toUpper().replace(QLatin1String("0X"), QLatin1String("0x")));
    ctx.out << "Directory: " << int(def->directory) << " " << DirectoryTitle(def->directory) << "\n"
            << "Name: " << def->DisplayName() << "\n"
            << "Type: " << ValueTypeName(def->Type()) << "\n"
            << "Instances: " << def->instanceCount << "\n";
    return ExitOk;
}
