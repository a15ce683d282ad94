// How one line of the simulated device behaves: its framing, whether it answers only its own
// unit address (serial lines) or every frame (TCP/IP), the reply latency, the pacing and the
// name it logs under.
#pragma once

#include "FrameFormat.h"

#include <QString>

struct SimLineConfig {
    ProtocolKind framing = ProtocolKind::Terminal;
    bool checkAddress = true;   // serial lines answer their own unit address only
    int latencyMs = 0;
    int baud = 0;
    bool verbose = false;
    QString name;               // for the log: "tcp 127.0.0.1:40000", "pty"
};
