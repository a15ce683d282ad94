// Ownership of the port and the unit address.
#include "ComProtocol.h"

ComProtocol::ComProtocol(std::unique_ptr<ComStream> port, int unitAddress)
    : m_port(std::move(port))
    , m_unitAddress(unitAddress & 0xFF)
{
    Q_ASSERT(m_port);
}

ComProtocol::~ComProtocol() = default;
