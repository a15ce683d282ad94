// The line settings of a serial port: baud rate, data bits, parity and stop bits, built from
// a mode text. Two mode-text forms are read: "38400,N,8,1" (the form written back by ModeText)
// and "COM1: BAUD=38400 PARITY=N DATA=8 STOP=1". Applying a mode text is all or nothing: a
// text that does not parse leaves the settings unchanged. Values always stay in range:
// baud rate > 0, data bits 5..8, parity 0..4, stop bits 0..2.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

class LineSettings {
public:
    enum Parity : uint8_t { NoParity = 0, OddParity = 1, EvenParity = 2, MarkParity = 3, SpaceParity = 4 };
    enum StopBits : uint8_t { OneStop = 0, OneAndHalfStop = 1, TwoStop = 2 };

    // The index used for status texts and the read time-out: 0 for 600, 1 for 1200, ... 6 for
    // 38400 and for any rate not listed.
    static constexpr int kBaudIndexCount = 7;

    uint32_t baudRate = 38400;
    uint8_t dataBits = 8;
    uint8_t parity = NoParity;
    uint8_t stopBits = OneStop;

    // Applies a mode text in either form over these settings; false (and nothing changed)
    // when the text is malformed or asks for a value out of range.
    bool ApplyModeText(QStringView text);

    // "%d,%c,%d,%d": baud rate, parity letter, data bits, 2 for two stop bits else 1.
    QString ModeText() const;

    // N, O, E, M or S.
    char ParityLetter() const;
    // 1 when one stop bit is asked for, 2 otherwise.
    int StopBitsShown() const;
    int BaudIndex() const;

    static int BaudIndexOf(uint32_t baudRate);
    // "600", "1200" ... "38400" by baud index (out-of-range indexes read as 6).
    static QString BaudText(int baudIndex);
    // The wait for the first byte of a read: 2000 + 1000 / (baud index + 1) ms.
    static int ReadTimeoutMs(int baudIndex);

    bool operator==(const LineSettings&) const = default;
};
