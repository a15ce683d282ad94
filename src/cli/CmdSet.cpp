// quarrant set FILE.qcf SECTION CODE VALUE [--level L]: an offline edit made the way the edit
// dialogs make it, with the same checks and messages. VALUE is the option number for option
// codes, the sum of the flags for alarm codes, a dotted address or the decimal number for the
// IP codes, and the value text otherwise.
#include "CliHandlers.h"

#include "ConsoleUserInterface.h"
#include "CquillTrakDoc.h"
#include "ParamEdit.h"
#include "Section.h"
#include "ValueFormat.h"

int CmdSet(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FILE.qcf"), QStringLiteral("The configuration document."));
    parser.addPositionalArgument(QStringLiteral("SECTION"), QStringLiteral("Section number 0-17 or its title."));
    parser.addPositionalArgument(QStringLiteral("CODE"), QStringLiteral("Program code number."));
    parser.addPositionalArgument(QStringLiteral("VALUE"), QStringLiteral("The new value."));
    const QCommandLineOption level(QStringLiteral("level"), QStringLiteral("Security level 1-3."), QStringLiteral("L"));
    parser.addOption(level);
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("set"), args, ctx, &exitCode, 4, 4))
        return exitCode;
    const QStringList pos = parser.positionalArguments();

    const int section = ParseSection(pos[1]);
    if (section < 0) {
        ctx.err << "quarrant set: no section '" << pos[1] << "' (0-17 or a title)\n";
        return ExitUsage;
    }
    bool ok = false;
    const int number = pos[2].toInt(&ok);
    if (!ok) {
        ctx.err << "quarrant set: '" << pos[2] << "' is not a program code number\n";
        return ExitUsage;
    }
    std::optional<int> newLevel;
    if (parser.isSet(level)) {
        const int l = parser.value(level).toInt(&ok);
        if (!ok || l < 1 || l > 3) {
            ctx.err << "quarrant set: the level must be 1, 2 or 3\n";
            return ExitUsage;
        }
        newLevel = l;
    }

    ConsoleUserInterface ui;
    CquillTrakDoc doc;
    QString error;
    if (!doc.OpenFile(pos[0], ui, &error))
        return Fail(ctx, error);
    DBParam* p = doc.Sections().Find(section, number);
    if (!p)
        return Fail(ctx, QStringLiteral("section %1 \"%2\" has no program code %3")
                             .arg(section).arg(QLatin1String(Section(section)->title)).arg(number));

    QString value = pos[3];
    switch (ParamEdit::ChooseDialog(*p->def)) {
    case ParamEdit::DialogKind::List:
    case ParamEdit::DialogKind::Alarm: {
        const int n = value.trimmed().toInt(&ok);
        if (!ok)
            return Fail(ctx, QStringLiteral("'%1' is not a number").arg(value));
        value = OptionValueFromChoice(n);
        break;
    }
    case ParamEdit::DialogKind::IPAddress:
        if (value.contains(QLatin1Char('.'))) {
            const std::optional<uint32_t> address = ParseDottedIp(value);
            if (!address)
                return Fail(ctx, QStringLiteral("'%1' is not an IP address").arg(value));
            value = IpValueText(*address);
        }
        break;
    case ParamEdit::DialogKind::General:
        break;
    }

    if (const std::optional<QString> message = ParamEdit::StoreOffline(doc.Image(), *p, value, newLevel)) {
        ctx.err << *message << "\n";
        return ExitFailure;
    }
    if (!doc.SaveFile(pos[0], &error))
        return Fail(ctx, error);
    return ExitOk;
}
