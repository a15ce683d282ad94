// The texts of the device's rejection numbers ("NO" replies): the NOxx table (0..39), the
// NO9x table (90..99), the critical table (0x8000 + 0..46) and the fatal table (0xC000 +
// 0..6). Numbers outside them read "Unknown rejection %d".
#pragma once

#include <QString>
#include <cstdint>

QString RejectionTextFor(int32_t number);

// "NO%02.2d - %s": how the terminal and the command-line tool show a rejection.
QString FormatRejection(int32_t number);
