// Serial reads and writes on a shared line. Each read waits for each byte up to the line's
// read time-out; QSerialPort's own input buffer stands in for the driver's receive queue, so
// Purge clears both.
#include "SerialPort.h"

#include "CommSettings.h"
#include "CommStatusText.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <cstring>

namespace {

// A write may take as long as its bytes need on the line, plus a margin.
int WriteWaitMs(qint64 bytes, uint32_t baudRate)
{
    return 5000 + int(bytes * 10 * 1000 / qMax<uint32_t>(baudRate, 1));
}

bool WaitWritten(QSerialPort& port, int waitMs)
{
    const QDeadlineTimer deadline(waitMs);
    while (port.bytesToWrite() > 0) {
        if (!port.waitForBytesWritten(int(deadline.remainingTime())))
            return false;
    }
    return true;
}

} // namespace

SerialPort::SerialPort(int portNumber, const LineSettings& settings)
    : m_portNumber(portNumber & 0xFF)
{
    if (m_portNumber < 1 || m_portNumber > 99) {
        m_status = CommCannotOpen;
        m_lastErrorText = QStringLiteral("No serial port %1").arg(m_portNumber);
        return;
    }
    m_deviceName = CommSettings::DeviceName(m_portNumber);
    Open(settings);
}

SerialPort::SerialPort(const QString& devicePath, const LineSettings& settings)
    : m_deviceName(devicePath)
{
    Open(settings);
}

SerialPort::~SerialPort()
{
    LineTable::Release(m_line);
}

void SerialPort::Open(const LineSettings& settings)
{
    QString error;
    m_line = LineTable::Acquire(m_deviceName, settings, &error);
    if (!m_line) {
        m_status = CommCannotOpen;
        m_lastErrorText = error;
        return;
    }
    m_settings = m_line->settings;
    m_open = 1;
}

void SerialPort::RecordIoError()
{
    QSerialPort& port = *m_line->port;
    m_lastErrorText = port.errorString();
    port.clearError();
}

int SerialPort::Write(const char* data, int length)
{
    if (!IsOpen() || !data)
        return 0;
    if (length == 0)
        length = int(std::strlen(data));
    if (length <= 0)
        return 0;
    QSerialPort& port = *m_line->port;
    if (port.write(data, length) != length || !WaitWritten(port, WriteWaitMs(length, m_settings.baudRate))) {
        RecordIoError();
        m_status = CommIoError;
        return 0;
    }
    return length;
}

int SerialPort::ReadByte(char& byte)
{
    QSerialPort& port = *m_line->port;
    if (port.bytesAvailable() == 0) {
        const QDeadlineTimer deadline(m_line->readTimeoutMs);
        while (port.bytesAvailable() == 0) {
            if (port.waitForReadyRead(int(deadline.remainingTime())))
                continue;
            if (port.error() == QSerialPort::TimeoutError || port.error() == QSerialPort::NoError) {
                port.clearError();
                return CommTimeout;
            }
            RecordIoError();
            return CommIoError;
        }
    }
    if (port.read(&byte, 1) != 1) {
        RecordIoError();
        return CommIoError;
    }
    return CommOk;
}

int SerialPort::Read(char* buffer, int length, int terminator)
{
    if (!IsOpen())
        return 0;
    if (!buffer || length < 1) {
        m_status = CommProtocolError;
        return 0;
    }
    if (terminator < 0) {
        for (int i = 0; i < length; ++i) {
            const int rc = ReadByte(buffer[i]);
            if (rc != CommOk) {
                m_status = rc;
                return 0;
            }
        }
        m_status = CommOk;
        return length;
    }
    const uint8_t end = uint8_t(terminator);
    for (int i = 0;;) {
        const int rc = ReadByte(buffer[i]);
        if (rc != CommOk) {
            m_status = rc;
            return 0;
        }
        if (uint8_t(buffer[i]) == end) {
            m_status = CommOk;
            return i + 1;
        }
        if (++i == length) {
            m_status = CommProtocolError;
            return 0;
        }
    }
}

void SerialPort::Flush()
{
    if (IsOpen())
        WaitWritten(*m_line->port, WriteWaitMs(m_line->port->bytesToWrite(), m_settings.baudRate));
}

void SerialPort::Purge()
{
    if (IsOpen())
        m_line->port->clear(QSerialPort::Input);
}

QString SerialPort::StatusText(int unitAddress) const
{
    if (!IsOpen())
        return QStringLiteral("Comm Not Enabled");
    const QString name = m_portNumber ? QStringLiteral("Com%1").arg(m_portNumber) : m_deviceName;
    return QStringLiteral("%1:%2,%3,%4,%5   Address:%6")
        .arg(name, LineSettings::BaudText(m_settings.BaudIndex()), QChar::fromLatin1(m_settings.ParityLetter()))
        .arg(m_settings.dataBits)
        .arg(m_settings.StopBitsShown())
        .arg(unitAddress & 0xFF);
}

QString SerialPort::PortLabel() const
{
    return m_portNumber ? QString::number(m_portNumber) : m_deviceName;
}
