// Choice, run and application of a parameter edit (see EditParam.h).
#include "EditParam.h"

#include "CAlarmParamEdit.h"
#include "CGenParamEdit.h"
#include "CIPParamEdit.h"
#include "CListParamEdit.h"
#include "CquillTrakDoc.h"
#include "app/CHelp.h"
#include "OnlineParamEdit.h"
#include "ParamEdit.h"
#include "UserInterface.h"

#include <memory>

bool EditParam(QWidget* parent, CquillTrakDoc& doc, DBParam& p, VandtProtocol* link, UserInterface& ui)
{
    if (!p.def)
        return false;
    if (p.def->IsReadOnly()) {
        ui.MessageBox(ParamEdit::ReadOnlyMessage());
        return false;
    }
    std::unique_ptr<CGenParamEdit> dialog;
    switch (ParamEdit::ChooseDialog(*p.def)) {
    case ParamEdit::DialogKind::Alarm: dialog = std::make_unique<CAlarmParamEdit>(p, doc.Image(), parent); break;
    case ParamEdit::DialogKind::List: dialog = std::make_unique<CListParamEdit>(p, doc.Image(), parent); break;
    case ParamEdit::DialogKind::IPAddress: dialog = std::make_unique<CIPParamEdit>(p, doc.Image(), parent); break;
    case ParamEdit::DialogKind::General: dialog = std::make_unique<CGenParamEdit>(p, doc.Image(), parent); break;
    }
    dialog->SetMessageSink([&ui](const QString& text) { ui.MessageBox(text); });
    QObject::connect(dialog.get(), &CGenParamEdit::HelpRequested, [](int topic) { CHelp::ShowTopic(topic); });
    if (dialog->exec() != QDialog::Accepted)
        return false;
    const int choice = dialog->SecurityChoice();
    const int level = p.def->HasSecurityLevel() && choice >= 0 ? choice + 1 : 0;
    return OnlineParamEdit::Apply(doc, link, ui, p, dialog->ValueText(), level);
}
