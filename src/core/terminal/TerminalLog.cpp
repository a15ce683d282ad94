// The terminal's log file (see TerminalLog.h).
#include "TerminalLog.h"

#include <QLocale>

bool TerminalLog::Open(const QString& fileName)
{
    Close();
    if (fileName.isEmpty())
        return false;
    m_file.setFileName(fileName);
    // Binary mode: the lines carry their own carriage return and line feed.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    Write(HeaderLine(QDateTime::currentDateTime()));
    return true;
}

void TerminalLog::Close()
{
    if (m_file.isOpen())
        m_file.close();
}

void TerminalLog::Write(const QByteArray& bytes)
{
    if (!m_file.isOpen())
        return;
    m_file.write(bytes);
    m_file.flush();
}

QByteArray TerminalLog::HeaderLine(const QDateTime& when)
{
    const QString stamp = QLocale::c().toString(when, QStringLiteral("dddd, MMMM dd, yyyy HH:mm:ss"));
    return "Log started " + stamp.toLatin1() + "\r\n";
}
