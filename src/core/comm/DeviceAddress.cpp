// Reading device address texts and making their protocol objects (see DeviceAddress.h).
#include "DeviceAddress.h"

#include "CommSettings.h"
#include "MakeProtocol.h"
#include "SerialPort.h"
#include "TCPPort.h"

#include <QRegularExpression>

namespace {

// A whole decimal number within [low, high], nothing else.
std::optional<int> Number(const QString& text, int low, int high)
{
    if (text.isEmpty() || text.size() > 5)
        return std::nullopt;
    for (const QChar c : text) {
        if (!c.isDigit() || c.unicode() > '9')
            return std::nullopt;
    }
    const int value = text.toInt();
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

// Four dotted fields 0..255, decimal.
bool IsDottedIpv4(const QString& text)
{
    const QStringList fields = text.split(QLatin1Char('.'));
    if (fields.size() != 4)
        return false;
    for (const QString& f : fields) {
        if (f.size() > 3 || !Number(f, 0, 255))
            return false;
    }
    return true;
}

QString UnitError(const QString& text)
{
    return QStringLiteral("unit address '%1' is not a number 0..%2").arg(text).arg(FrameFormat::kMaxUnitAddress);
}

} // namespace

std::optional<DeviceAddress> DeviceAddress::Parse(const QString& text, QString* error)
{
    DeviceAddress a;
    const QString usage = QStringLiteral("'%1' is not a device: use tcp:A.B.C.D[:PORT], comN[:UNIT] or /dev/PATH[:UNIT]").arg(text);

    if (text.startsWith(QLatin1String("tcp:"), Qt::CaseInsensitive)) {
        const QStringList parts = text.mid(4).split(QLatin1Char(':'));
        if (parts.size() > 2 || !IsDottedIpv4(parts[0])) {
            *error = usage;
            return std::nullopt;
        }
        a.m_kind = Kind::Tcp;
        a.m_host = parts[0];
        if (parts.size() == 2) {
            const std::optional<int> port = Number(parts[1], 1, 65535);
            if (!port) {
                *error = QStringLiteral("TCP port '%1' is not a number 1..65535").arg(parts[1]);
                return std::nullopt;
            }
            a.m_tcpPort = quint16(*port);
        }
        return a;
    }

    if (text.startsWith(QLatin1String("com"), Qt::CaseInsensitive)) {
        const QStringList parts = text.mid(3).split(QLatin1Char(':'));
        const std::optional<int> port = parts.size() <= 2 ? Number(parts[0], 1, 99) : std::nullopt;
        if (!port) {
            *error = parts.size() <= 2 && !parts[0].isEmpty() && Number(parts[0], 0, 99999)
                ? QStringLiteral("serial port '%1' is not a number 1..99").arg(parts[0])
                : usage;
            return std::nullopt;
        }
        a.m_kind = Kind::ComPort;
        a.m_portNumber = *port;
        if (parts.size() == 2) {
            const std::optional<int> unit = Number(parts[1], 0, FrameFormat::kMaxUnitAddress);
            if (!unit) {
                *error = UnitError(parts[1]);
                return std::nullopt;
            }
            a.m_unit = *unit;
        }
        return a;
    }

    if (text.startsWith(QLatin1Char('/'))) {
        a.m_kind = Kind::DevicePath;
        a.m_path = text;
        // A trailing ":digits" is the unit address; any other colon belongs to the path.
        static const QRegularExpression unitSuffix(QStringLiteral(":([^:/]*)$"));
        const QRegularExpressionMatch m = unitSuffix.match(text);
        if (m.hasMatch()) {
            const std::optional<int> unit = Number(m.captured(1), 0, FrameFormat::kMaxUnitAddress);
            if (!unit) {
                *error = UnitError(m.captured(1));
                return std::nullopt;
            }
            a.m_unit = *unit;
            a.m_path = text.left(m.capturedStart(0));
        }
        if (a.m_path.size() < 2) {
            *error = usage;
            return std::nullopt;
        }
        return a;
    }

    *error = usage;
    return std::nullopt;
}

QString DeviceAddress::Text() const
{
    switch (m_kind) {
    case Kind::Tcp:
        return m_tcpPort == FrameFormat::kDeviceTcpPort ? QStringLiteral("tcp:%1").arg(m_host)
                                                        : QStringLiteral("tcp:%1:%2").arg(m_host).arg(m_tcpPort);
    case Kind::ComPort:
        return QStringLiteral("com%1:%2").arg(m_portNumber).arg(m_unit);
    case Kind::DevicePath:
        return QStringLiteral("%1:%2").arg(m_path).arg(m_unit);
    }
    return QString();
}

std::unique_ptr<VandtProtocol> DeviceAddress::MakeProtocol(const LinkOptions& options, QString* error) const
{
    if (m_kind == Kind::Tcp) {
        if (options.framing && *options.framing != ProtocolKind::Terminal) {
            *error = QStringLiteral("a TCP/IP device speaks the Terminal framing only");
            return nullptr;
        }
        if (!options.modeText.isEmpty()) {
            *error = QStringLiteral("line settings apply to serial devices only");
            return nullptr;
        }
        const auto connectWait = options.connectWait.count() > 0 ? options.connectWait : CTimeoutSocket::kDefaultConnectWait;
        const auto receiveWait = options.receiveWait.count() > 0 ? options.receiveWait : CTimeoutSocket::kDefaultReceiveWait;
        return ::MakeProtocol(std::make_unique<TCPPort>(m_host, m_tcpPort, connectWait, receiveWait),
                              ProtocolKind::Terminal, 1);
    }

    if (options.receiveWait.count() > 0 || options.connectWait.count() > 0) {
        *error = QStringLiteral("a serial line's time-out follows its baud rate and cannot be set");
        return nullptr;
    }
    LineSettings settings;
    int kind = CommSettings::kDefaultProtocolKind;
    if (m_kind == Kind::ComPort) {
        settings = CommSettings::ReadLineSettings(m_portNumber, CommSettings::DocumentDefaultModeText());
        kind = CommSettings::ReadProtocolKind(m_portNumber);
    }
    if (!options.modeText.isEmpty() && !settings.ApplyModeText(options.modeText)) {
        *error = QStringLiteral("'%1' is not a mode text such as 38400,N,8,1").arg(options.modeText);
        return nullptr;
    }
    if (options.framing)
        kind = int(*options.framing);
    if (kind != int(ProtocolKind::Terminal) && kind != int(ProtocolKind::Minicomputer)) {
        *error = QStringLiteral("COM%1 has protocol kind %2 in the settings, neither 0 (Terminal) nor 1 (Minicomputer)")
                     .arg(m_portNumber)
                     .arg(kind);
        return nullptr;
    }
    std::unique_ptr<ComStream> port = m_kind == Kind::ComPort ? std::make_unique<SerialPort>(m_portNumber, settings)
                                                              : std::make_unique<SerialPort>(m_path, settings);
    return ::MakeProtocol(std::move(port), ProtocolKind(kind), m_unit);
}
