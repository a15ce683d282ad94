// The error box shared by both kinds of port.
#include "ComStream.h"

#include "CommStatusText.h"

int ComStream::ShowErrorBox(UserInterface& ui, const QString& context, UserInterface::Buttons buttons,
                            UserInterface::Icon icon) const
{
    if (m_status == CommIoError) {
        // An I/O failure shows the platform's own words for it; the box only informs.
        const QString text = m_lastErrorText.isEmpty() ? CommStatusText(CommIoError) : m_lastErrorText;
        ui.MessageBox(text, QStringLiteral("Communications Error"), UserInterface::Buttons::Ok,
                      UserInterface::Icon::Information);
        return UserInterface::Abort;
    }
    const QString heading = context.isEmpty()
        ? QStringLiteral("Error on %1%2:").arg(QStringLiteral("serial device at port "), PortLabel())
        : context;
    return ui.MessageBox(QStringLiteral("%1 - %2").arg(heading, CommStatusText(m_status)), QString(), buttons,
                         icon);
}
