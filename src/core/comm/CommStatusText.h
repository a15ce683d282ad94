// The status codes a port keeps for its last failure and their ten texts. Ports set 0 and 6 to
// 9; 1 to 5 exist only as texts (1 is also how a port that could not be opened is shown).
// Any code outside 0..9 (for instance a socket error number kept after a failed connect) reads
// as code 1, so the text table is never indexed out of range.
#pragma once

#include <QString>

enum CommStatus : int {
    CommOk = 0,
    CommCannotOpen = 1,
    CommTransmissionError = 2,
    CommParityError = 3,
    CommFramingError = 4,
    CommOverrunError = 5,
    CommIoError = 6,
    CommTimeout = 7,
    CommRejected = 8,
    CommProtocolError = 9,
};

inline constexpr int kCommStatusCount = 10;

// The code a status is shown as: itself for 0..9, else CommCannotOpen.
int CommStatusShown(int code);

// The text of a status code, e.g. "Timeout waiting for response" for 7.
QString CommStatusText(int code);
