// The "Comm" section of the application settings (QSettings "Vandt Gauge" / "Quarrant
// Liquid"): per serial port n the mode text "COM<n>", the protocol kind "COM<n>_Protocol"
// (0 Terminal, 1 Minicomputer) and the device behind the port "COM<n>_Device". Also the
// choices of the port settings dialog and how they map onto line settings.
#pragma once

#include "LineSettings.h"

#include <QString>
#include <QStringList>

class CommSettings {
public:
    // The mode text a document uses when its port has none.
    static QString DocumentDefaultModeText() { return QStringLiteral("COM1: BAUD=38400 PARITY=N DATA=8 STOP=1"); }
    // The mode text the port settings dialog starts from when the port has none.
    static QString DialogDefaultModeText() { return QStringLiteral("38400,N,8,1"); }
    static constexpr int kDefaultProtocolKind = 1;

    // "COM%d": the name of the port's mode-text value.
    static QString PortName(int portNumber);

    static QString ReadModeText(int portNumber, const QString& defaultText);
    // The mode text applied over default line settings (38400, no parity, 8 data bits, one
    // stop bit); a malformed mode text leaves those defaults.
    static LineSettings ReadLineSettings(int portNumber, const QString& defaultText);
    static int ReadProtocolKind(int portNumber);
    // Writes "%d,%c,%d,%d" of the settings.
    static void WriteModeText(int portNumber, const LineSettings& settings);
    static void WriteProtocolKind(int portNumber, int kind);

    // The device behind port n: setting "COM<n>_Device", default /dev/ttyS<n-1> (COM<n> on
    // Windows).
    static QString DeviceName(int portNumber);
    static void WriteDeviceName(int portNumber, const QString& deviceName);

    // Port settings dialog lists, in order.
    static QStringList BaudRateChoices();    // "1200" ... "38400"
    static QStringList DataParityChoices();  // "7/None" ... "8/None/2 Stop"
    static QStringList ProtocolChoices();    // "Terminal", "Minicomputer"
    // The list entries that show the settings: 1200..19200 by rate, any other rate 38400;
    // mark and space parity show as no parity.
    static int BaudChoiceIndex(const LineSettings& settings);
    static int DataParityChoiceIndex(const LineSettings& settings);
    // Puts the dialog's choices into the settings (other fields kept).
    static void ApplyChoices(LineSettings& settings, int baudChoice, int dataParityChoice);
};
