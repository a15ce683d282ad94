// The simulator's command line, parsed into plain values. Parsing never exits the process:
// Parse returns an outcome and the text to print, so main decides where it goes.
// Invariants after a successful Parse: the TCP address is a loopback address (127.x.y.z),
// at least one listener is asked for, the unit address fits two digits, every fault has a
// period of at least 1.
#pragma once

#include "FaultInjector.h"
#include "FrameFormat.h"
#include "StatusFlags.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class SimOptions {
public:
    enum class Outcome { Run, Help, Error };

    // Parses the arguments after the program name.
    Outcome Parse(const QStringList& args);
    // The help text (Outcome Help) or the error text (Outcome Error).
    QString Message() const { return m_message; }

    static QString HelpText();

    QString tcpAddress;             // empty: no TCP listener
    quint16 tcpPort = FrameFormat::kDeviceTcpPort;
    QString ptyPath;                // empty: no pseudo-terminal
    ProtocolKind framing = ProtocolKind::Minicomputer; // the serial side's framing
    int unit = 1;
    QString statePath;
    QString stateOutPath;
    bool locked = false;
    uint32_t firmwareCrc = 0;
    QString firmwareText;           // as given, for messages
    std::vector<FlagScript> flags;
    uint32_t events = 40;
    uint32_t audits = 20;
    uint32_t transactions = 30;
    int latencyMs = 0;
    int baud = 0;                   // 0: no pacing
    std::vector<FaultRule> faults;
    bool verbose = false;
    // The device's FTP server: started when ftpPort is set (0 picks a free port).
    int ftpPort = -1;               // -1: no FTP server
    QString ftpRoot;                // empty: a temporary folder
    QString accessCode = QStringLiteral("1234");
    QString ftpScript;              // the FTP launcher; empty: the one of the source tree

private:
    QString m_message;
};
