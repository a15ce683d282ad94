// The byte-stream layer under the device command protocols: a serial line (SerialPort) or a
// TCP/IP connection (TCPPort). A port is opened by its constructor and closed by its
// destructor. It keeps the status code of its last failure (CommStatusText.h); reads and writes
// on a port that is not open return 0 and leave the status code unchanged. Nothing here throws
// and nothing retries.
#pragma once

#include "UserInterface.h"

#include <QString>

class ComStream {
public:
    // Read() terminator value that asks for a fixed count of bytes.
    static constexpr int kReadCount = -1;

    ComStream() = default;
    virtual ~ComStream() = default;
    ComStream(const ComStream&) = delete;
    ComStream& operator=(const ComStream&) = delete;

    // Writes length bytes (0: the length of the zero-terminated data). Returns the count
    // written, or 0 on failure (status 6).
    virtual int Write(const char* data, int length = 0) = 0;

    // Reads into buffer (room for length >= 1 bytes) up to a terminator byte 0..255, or
    // exactly/at most length bytes with kReadCount. Returns a count > 0 on success, 0 on
    // failure with the status code telling why (6 I/O, 7 time-out, 9 buffer full).
    // Serial: a terminator read counts the terminator; a count read gets exactly length bytes.
    // TCP/IP: a terminator read counts the bytes before the terminator (the terminator is still
    // stored), so a terminator as the very first byte returns 0 with the status unchanged; a
    // count read returns what one receive delivers, up to length bytes.
    virtual int Read(char* buffer, int length, int terminator) = 0;

    // Serial: waits until the transmit buffers are sent. TCP/IP: nothing.
    virtual void Flush() = 0;
    // Discards bytes that were received but not read yet.
    virtual void Purge() = 0;

    // One status line: the port's settings, or "Comm Not Enabled" when it is not open.
    virtual QString StatusText(int unitAddress) const = 0;
    virtual bool IsNetwork() const = 0;

    // Shows the last failure in a message box and returns the button pressed. Status 6 shows
    // the platform's error text under "Communications Error" and returns Abort; any other code
    // shows "%1 - %2" with the context (default "Error on serial device at port N:") and the
    // code's CommStatusText, with the caller's buttons and icon.
    int ShowErrorBox(UserInterface& ui, const QString& context = QString(),
                     UserInterface::Buttons buttons = UserInterface::Buttons::Ok,
                     UserInterface::Icon icon = UserInterface::Icon::None) const;

    bool IsOpen() const { return m_open > 0; }
    // The status code of the last failure (or of the last reply classification).
    int Status() const { return m_status; }
    // Protocols record the outcome of an exchange here (0 accepted, 8 rejected, 9 protocol error).
    void SetStatus(int status) { m_status = status; }
    // The platform's text for the last I/O failure or failed open; empty when there was none.
    QString LastErrorText() const { return m_lastErrorText; }

protected:
    // What follows "Error on serial device at port " in the default error heading: the port
    // number (the TCP port number for a TCP/IP port) or the device path.
    virtual QString PortLabel() const = 0;

    int m_status = 0;
    int m_open = 0;
    QString m_lastErrorText;
};
