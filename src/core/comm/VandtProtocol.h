// The device's command protocol family: adds the rejection number of the last "NO" reply,
// its text and the error box that shows a failed exchange.
#pragma once

#include "ComProtocol.h"
#include "UserInterface.h"

#include <cstdint>

class VandtProtocol : public ComProtocol {
public:
    using ComProtocol::ComProtocol;

    // A rejection (status 8) shows "%1 - %2" with the context (default "Command Rejected - ")
    // and RejectionText; any other failure is shown by the port with its default heading.
    virtual int ShowErrorBox(UserInterface& ui, const QString& context = QString(),
                             UserInterface::Buttons buttons = UserInterface::Buttons::Ok,
                             UserInterface::Icon icon = UserInterface::Icon::None) const;

    // The number after "NO" in the last rejected reply.
    int32_t RejectionNumber() const { return m_rejectionNumber; }
    QString RejectionText() const;

protected:
    int32_t m_rejectionNumber = 0;
};
