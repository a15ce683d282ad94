// The process-wide table of open serial lines. Every SerialPort on the same device shares one
// open line: the first user opens and configures it, later users reuse it unchanged (the first
// settings win), and the line closes when its last user releases it. Lines are keyed by their
// device name with symbolic links resolved, so a numbered port ("COM3" through its device
// setting) and an explicit device path that name the same device share one line.
// Invariant: an entry exists exactly while its use count is above 0.
#pragma once

#include "LineSettings.h"

#include <QString>
#include <QStringList>
#include <memory>

class QSerialPort;

class LineTable {
public:
    struct Line {
        QString key;
        std::unique_ptr<QSerialPort> port;
        int uses = 0;
        LineSettings settings;   // the settings the line was configured with
        int readTimeoutMs = 0;   // the wait for a byte, from the line's baud rate
        QStringList warnings;    // settings the device refused but the line works without
    };

    // Opens and configures the line on first use, else reuses it. Returns nullptr when the
    // device cannot be opened or its baud rate cannot be set; errorText then says why.
    static Line* Acquire(const QString& deviceName, const LineSettings& settings, QString* errorText);
    // Gives up one use; the last use closes the line.
    static void Release(Line* line);

    // The number of users of the line of a device (0 when it is not open).
    static int UseCount(const QString& deviceName);
    static QString KeyFor(const QString& deviceName);
};
