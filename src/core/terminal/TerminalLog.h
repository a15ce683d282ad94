// The terminal's log file. Opening creates the file (replacing an old one), writes the line
// "Log started <weekday, month day, year hh:mm:ss>" and sets the logging flag; while it is
// open every echo line, captured report byte and SHELL line is written to it exactly as
// given (no line-end translation) and flushed at once, so a crash loses nothing written.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

class TerminalLog {
public:
    TerminalLog() = default;
    ~TerminalLog() { Close(); }
    TerminalLog(const TerminalLog&) = delete;
    TerminalLog& operator=(const TerminalLog&) = delete;

    // False (logging stays off) when the name is empty or the file cannot be created.
    bool Open(const QString& fileName);
    void Close();
    bool IsOpen() const { return m_file.isOpen(); }
    QString FileName() const { return m_file.fileName(); }

    // Writes when logging is on; does nothing otherwise.
    void Write(const QByteArray& bytes);
    void Write(const QString& text) { Write(text.toLatin1()); }

    // "Log started %s\r\n" with the long date form, weekday and month written out in English.
    static QByteArray HeaderLine(const QDateTime& when);

private:
    QFile m_file;
};
