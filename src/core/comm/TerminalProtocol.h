// The Terminal framing: commands go out as '*' AA command CR LF; a reply is read from its '*'
// (bytes before it are skipped) to its line feed, must end with CR LF, and carries its text
// after the two address characters. MiniProtocol replaces the framing with STX/ETX and a check
// byte. The object owns its send frame and reply area, so protocols are independent.
// Refused before anything is sent (status 9): unit addresses above 99 (the frame has room for
// two digits only) and commands longer than one send frame carries.
#pragma once

#include "FrameFormat.h"
#include "LineSettings.h"
#include "VandtProtocol.h"

#include <QString>

class TerminalProtocol : public VandtProtocol {
public:
    // A serial line: port number and line settings; unit address 1.
    TerminalProtocol(int portNumber, const LineSettings& settings);
    // TCP/IP to host and TCP port.
    TerminalProtocol(const QString& host, quint16 tcpPort, int unitAddress);
    // Any port (a device path, a TCP port made by the caller, a test stream).
    explicit TerminalProtocol(std::unique_ptr<ComStream> port, int unitAddress = 1);

    std::optional<QByteArray> Send(QByteArrayView command) override;
    int Receive(QByteArray& reply) override;

    ProtocolKind Kind() const { return m_kind; }

    // Noise bytes skipped while looking for the start character before giving up with 9.
    static constexpr int kMaxSkippedBytes = 65536;

protected:
    TerminalProtocol(std::unique_ptr<ComStream> port, int unitAddress, ProtocolKind kind);

    // Purges the port and writes header, command and terminator; nullopt on failure.
    std::optional<QByteArray> SendFramed(QByteArrayView command);
    // Reads and discards bytes until the start character; 0 or the failure status.
    int Synchronise();
    // Reads the body after the start character up to the end character into m_reply;
    // bodyLength counts the end character. 0 or the failure status.
    int ReadBody(int& bodyLength);
    // Classifies the reply text (after the address field); sets the port status.
    int Classify(const char* text, int length, QByteArray& reply);
    int Fail(int status);
    // What Receive returns on a port that is not open: its status as shown, never 0.
    int NotOpenStatus() const;

    ProtocolKind m_kind = ProtocolKind::Terminal;
    QByteArray m_frame;  // the last send frame
    QByteArray m_reply;  // start character, body, Minicomputer trailer
};
