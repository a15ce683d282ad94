// Line faults the simulator can inject, each on every Nth exchange (exchanges are counted
// across all connections, from 1). Several kinds may hit the same exchange; they combine:
//   drop        no reply at all                       (the host times out)
//   noise       junk bytes before the start character (the host must skip them)
//   bad-check   Minicomputer: a wrong check byte; Terminal: the reply line loses its
//               carriage return (either way the host sees a damaged frame)
//   truncate    only the first half of the reply frame, without its end character
//   disconnect  the connection is dropped instead of replying (a TCP close; on the
//               pseudo-terminal the pair is torn down and made anew under the same path)
// The junk of "noise" never holds a start character of either framing.
#pragma once

#include "FaultRule.h"
#include "FrameFormat.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>


class FaultInjector {
public:
    // What one exchange's reply becomes.
    struct Outcome {
        QByteArray bytes;        // the bytes to send (empty for a dropped reply)
        bool disconnect = false; // drop the connection instead of replying
        QStringList applied;     // names of the faults that hit, for the log
    };

    static QStringList KindNames();
    // "KIND" or "KIND=N"; false with *error for anything else.
    static bool ParseRule(const QString& text, FaultRule* rule, QString* error);
    static QString KindName(FaultKind kind);
    static const QByteArray& NoiseBytes();

    explicit FaultInjector(std::vector<FaultRule> faults = {});

    // Counts one exchange and applies the faults due to its framed reply.
    Outcome Apply(const QByteArray& frame, ProtocolKind framing);
    uint64_t Exchanges() const { return m_exchanges; }

private:
    std::vector<FaultRule> m_faults;
    uint64_t m_exchanges = 0;
};
