// Building a document's protocol object from its port, address and the "Comm" settings.
#include "MakeProtocol.h"

#include "CommSettings.h"
#include "MiniProtocol.h"
#include "TerminalProtocol.h"

QString HostTextOf(uint32_t addressValue)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(addressValue >> 24 & 0xFF)
        .arg(addressValue >> 16 & 0xFF)
        .arg(addressValue >> 8 & 0xFF)
        .arg(addressValue & 0xFF);
}

std::unique_ptr<VandtProtocol> MakeProtocol(int portNumber, uint32_t addressValue)
{
    if (portNumber == 0)
        return std::make_unique<TerminalProtocol>(HostTextOf(addressValue), FrameFormat::kDeviceTcpPort, 1);

    const LineSettings settings = CommSettings::ReadLineSettings(portNumber, CommSettings::DocumentDefaultModeText());
    std::unique_ptr<VandtProtocol> protocol;
    switch (CommSettings::ReadProtocolKind(portNumber)) {
    case int(ProtocolKind::Terminal):
        protocol = std::make_unique<TerminalProtocol>(portNumber, settings);
        break;
    case int(ProtocolKind::Minicomputer):
        protocol = std::make_unique<MiniProtocol>(portNumber, settings);
        break;
    default:
        return nullptr;
    }
    protocol->SetUnitAddress(int(addressValue & 0xFF));
    return protocol;
}

std::unique_ptr<VandtProtocol> MakeProtocol(std::unique_ptr<ComStream> port, ProtocolKind kind, int unitAddress)
{
    if (kind == ProtocolKind::Minicomputer)
        return std::make_unique<MiniProtocol>(std::move(port), unitAddress);
    return std::make_unique<TerminalProtocol>(std::move(port), unitAddress);
}
