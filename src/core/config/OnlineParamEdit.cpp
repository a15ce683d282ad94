// Offline store or device write of an accepted parameter edit (see OnlineParamEdit.h).
#include "OnlineParamEdit.h"

#include "CommStatusText.h"
#include "CquillTrakDoc.h"
#include "LiteralTable.h"
#include "ParamEdit.h"
#include "Section.h"
#include "UserInterface.h"
#include "ValueFormat.h"
#include "VandtProtocol.h"
#include "WaitCursor.h"

namespace {

QString Address(const DBParam& p)
{
    return QStringLiteral("%1 %2").arg(CommandDirectory(p.section, p.instance)).arg(p.number, 3, 10, QLatin1Char('0'));
}

// One exchange; the status (0 accepted). A command that did not go out fails with the port's
// status, or an I/O failure when the port kept none.
int Exchange(VandtProtocol& link, const QString& command)
{
    if (!link.Send(command.toLatin1()))
        return link.Status() != CommOk ? link.Status() : 6;
    QByteArray reply;
    return link.Receive(reply);
}

} // namespace

QString OnlineParamEdit::ValueCommand(const DBParam& p, const QString& valueText)
{
    return QStringLiteral("PC %1 %2").arg(Address(p), valueText);
}

QString OnlineParamEdit::LevelCommand(const DBParam& p, int level)
{
    return QStringLiteral("XC %1 %2").arg(Address(p)).arg(level);
}

QString OnlineParamEdit::LevelFailureMessage(const DBParam& p, int level)
{
    const SectionInfo* section = Section(p.section);
    const QString title = section ? QString::fromLatin1(section->title) : QString();
    const QString device = p.def && p.def->nameLiteral >= 0 ? LiteralText(p.def->nameLiteral) : QString();
    return QStringLiteral("Unable to set security level %1 for %2 %3\n").arg(level).arg(title, device);
}

bool OnlineParamEdit::Apply(CquillTrakDoc& doc, VandtProtocol* link, UserInterface& ui, DBParam& p,
                            const QString& valueText, int level)
{
    if (!p.def)
        return false;
    const ParamDef& def = *p.def;
    const bool hasLevel = def.HasSecurityLevel() && level >= 1 && level <= 3;

    if (doc.connectionState < CquillTrakDoc::ReadOnly) {
        if (std::optional<QString> message = ParamEdit::StoreOffline(doc.Image(), p, valueText,
                                                                     hasLevel ? std::optional<int>(level) : std::nullopt)) {
            ui.MessageBox(*message);
            return false;
        }
        doc.SetModifiedFlag(true);
        return true;
    }

    // The device gets only what the dialog would accept: a read-only program code or a value
    // that fails its check is refused here as well, before anything is sent.
    if (def.IsReadOnly()) {
        ui.MessageBox(ParamEdit::ReadOnlyMessage());
        return false;
    }
    QString text = valueText;
    if (std::optional<QString> message = ParamEdit::CheckValue(def, text)) {
        ui.MessageBox(*message);
        return false;
    }
    if (!link) {
        ui.MessageBox(CommStatusText(6));
        return false;
    }

    {
        WaitCursor wait(ui);
        if (Exchange(*link, ValueCommand(p, text)) != CommOk) {
            link->ShowErrorBox(ui);
            return false;
        }
    }
    if (!StoreValue(doc.Image(), p, text)) {
        ui.MessageBox(QStringLiteral("Unable to store the value of %1.").arg(def.DisplayName()));
        return false;
    }
    p.programmed = 1;
    doc.SetModifiedFlag(true);

    if (hasLevel && level != doc.GetSecurityLevel(p)) {
        int status;
        {
            WaitCursor wait(ui);
            status = Exchange(*link, LevelCommand(p, level));
        }
        if (status == CommOk)
            doc.SetSecurityLevel(p, static_cast<uint8_t>(level));
        else
            ui.MessageBox(LevelFailureMessage(p, level));
    }
    return true;
}
