// Rejection texts and the error box of a failed exchange.
#include "VandtProtocol.h"

#include "CommStatusText.h"
#include "RejectionTexts.h"

QString VandtProtocol::RejectionText() const
{
    return RejectionTextFor(m_rejectionNumber);
}

int VandtProtocol::ShowErrorBox(UserInterface& ui, const QString& context, UserInterface::Buttons buttons,
                                UserInterface::Icon icon) const
{
    if (m_port->Status() != CommRejected)
        return m_port->ShowErrorBox(ui, QString(), buttons, icon);
    const QString heading = context.isEmpty() ? QStringLiteral("Command Rejected - ") : context;
    return ui.MessageBox(QStringLiteral("%1 - %2").arg(heading, RejectionText()), QString(), buttons, icon);
}
