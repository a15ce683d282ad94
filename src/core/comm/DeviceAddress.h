// Where a device is reached, written as one text (the --device argument of every device
// command of the command-line tool):
//   tcp:A.B.C.D[:PORT]   TCP/IP to a dotted IPv4 address, TCP port 7734 unless given; Terminal
//                        framing; unit address 1 (over TCP/IP every frame carries 01)
//   comN[:UNIT]          serial port N (1..99, "COM" in any case) with the port's stored
//                        settings: mode text "Comm/COMn", framing "Comm/COMn_Protocol", device
//                        "Comm/COMn_Device"; unit address 1 unless given
//   /PATH[:UNIT]         a serial device by absolute path (/dev/ttyUSB0, a pseudo-terminal),
//                        with the settings of a port that has none stored: 38400 baud, no
//                        parity, 8 data bits, 1 stop bit, Minicomputer framing
// UNIT is 0..99: the frame carries two address digits. Parsing never touches a port; the
// protocol object is made by MakeProtocol, with the caller's overrides applied.
#pragma once

#include "FrameFormat.h"
#include "VandtProtocol.h"

#include <QString>
#include <chrono>
#include <memory>
#include <optional>

class DeviceAddress {
public:
    enum class Kind { Tcp, ComPort, DevicePath };

    // Choices the caller may impose on the stored or default settings.
    struct LinkOptions {
        std::optional<ProtocolKind> framing;   // serial lines only (TCP/IP is always Terminal)
        QString modeText;                      // serial lines only: "9600,E,7,1" or the long form
        std::chrono::milliseconds receiveWait{0}; // TCP/IP only; 0 keeps the port's default
        std::chrono::milliseconds connectWait{0}; // TCP/IP only; 0 keeps the port's default
    };

    // nullopt with *error (one line, for the user) when the text has none of the forms.
    static std::optional<DeviceAddress> Parse(const QString& text, QString* error);

    // A protocol over an opened (or failed-to-open: its port says why) port; nullptr with
    // *error when the options do not fit the address or the stored framing is unknown.
    std::unique_ptr<VandtProtocol> MakeProtocol(const LinkOptions& options, QString* error) const;

    Kind AddressKind() const { return m_kind; }
    QString Host() const { return m_host; }
    quint16 TcpPort() const { return m_tcpPort; }
    int PortNumber() const { return m_portNumber; }
    QString Path() const { return m_path; }
    int UnitAddress() const { return m_unit; }
    bool IsSerial() const { return m_kind != Kind::Tcp; }

    // The address in the form Parse reads.
    QString Text() const;

private:
    Kind m_kind = Kind::Tcp;
    QString m_host;
    quint16 m_tcpPort = FrameFormat::kDeviceTcpPort;
    int m_portNumber = 0;
    QString m_path;
    int m_unit = 1;
};
