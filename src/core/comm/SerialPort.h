// A serial line to one device, on QSerialPort used synchronously. The line comes from the
// LineTable (shared with other ports on the same device; the first settings win). A port
// that cannot be opened stays "not open" with status 1. Reads wait for each byte up to the
// line's read time-out, 2000 + 1000 / (baud index + 1) ms.
#pragma once

#include "ComStream.h"
#include "LineSettings.h"
#include "LineTable.h"

#include <QStringList>

class SerialPort : public ComStream {
public:
    // Port n (only its low byte counts; 1..99): the device from setting "Comm/COM<n>_Device".
    SerialPort(int portNumber, const LineSettings& settings);
    // An explicit device path such as "/dev/ttyUSB0"; shown under that path.
    SerialPort(const QString& devicePath, const LineSettings& settings);
    ~SerialPort() override;

    int Write(const char* data, int length = 0) override;
    int Read(char* buffer, int length, int terminator) override;
    void Flush() override;
    void Purge() override;
    // "Com%d:%s,%c,%d,%d   Address:%d" (the path in place of "Com%d" for a path-opened port).
    QString StatusText(int unitAddress) const override;
    bool IsNetwork() const override { return false; }

    int PortNumber() const { return m_portNumber; }
    QString DeviceName() const { return m_deviceName; }
    // The settings the line runs with (those of its first user).
    LineSettings Settings() const { return m_settings; }
    int ReadTimeoutMs() const { return m_line ? m_line->readTimeoutMs : 0; }
    // Settings the device refused while the line still works (a pseudo-terminal refuses
    // parity, 7 data bits and the modem lines).
    QStringList Warnings() const { return m_line ? m_line->warnings : QStringList(); }

protected:
    QString PortLabel() const override;

private:
    void Open(const LineSettings& settings);
    // 0 and the byte, or 6 / 7.
    int ReadByte(char& byte);
    void RecordIoError();

    int m_portNumber = 0;   // 0 for a port opened by device path
    QString m_deviceName;
    LineTable::Line* m_line = nullptr;
    LineSettings m_settings;
};
