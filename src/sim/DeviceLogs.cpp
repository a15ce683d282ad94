// Generated log entries (see DeviceLogs.h).
#include "DeviceLogs.h"

#include <QString>
#include <algorithm>
#include <iterator>

namespace {

const char* const kEventTexts[] = {
    "Power Up",
    "Program Mode Entered",
    "Program Mode Exited",
    "Flow Alarm Cleared",
    "Low Flow Alarm",
    "Permissive Alarm",
    "Power Fail",
    "Ticket Printed",
    "Communications Timeout",
    "Temperature Probe Alarm",
    "Card-In Accepted",
    "Batch Authorized",
};

struct AuditCode {
    const char* directory;
    int number;
};

const AuditCode kAuditCodes[] = {
    {"SY", 111}, {"SY", 113}, {"CF", 102}, {"SY", 705}, {"SY", 726}, {"01", 10}, {"SY", 734}, {"CF", 201},
};

QString Stamp(const QDateTime& t)
{
    return t.toString(QStringLiteral("MM/dd/yy HH:mm:ss"));
}

QString Volume(uint32_t tenths)
{
    return QStringLiteral("%1.%2").arg(tenths / 10, 6, 10, QLatin1Char('0')).arg(tenths % 10);
}

} // namespace

DeviceLogs::DeviceLogs(uint32_t events, uint32_t audits, uint64_t transactions)
    : m_events(std::min(events, kMaxSequence))
    , m_audits(std::min(audits, kMaxSequence))
    , m_transactions(transactions)
{
}

QDateTime DeviceLogs::StampOf(uint64_t sequence, int minutesApart)
{
    static const QDateTime base(QDate(2024, 1, 1), QTime(6, 0), Qt::UTC);
    return base.addSecs(qint64(sequence) * minutesApart * 60 + qint64(sequence % 60));
}

std::optional<QByteArray> DeviceLogs::Event(uint32_t n) const
{
    if (n < 1 || n > m_events)
        return std::nullopt;
    const char* text = kEventTexts[(n - 1) % std::size(kEventTexts)];
    return QStringLiteral("%1 E%2 %3").arg(Stamp(StampOf(n, 47))).arg((n - 1) % std::size(kEventTexts) + 1, 3, 10, QLatin1Char('0')).arg(QLatin1String(text)).toLatin1();
}

std::optional<QByteArray> DeviceLogs::Audit(uint32_t n) const
{
    if (n < 1 || n > m_audits)
        return std::nullopt;
    const AuditCode& c = kAuditCodes[(n - 1) % std::size(kAuditCodes)];
    return QStringLiteral("%1 %2 %3 CHANGED FROM %4 TO %5 BY COMM")
        .arg(Stamp(StampOf(n, 131)), QLatin1String(c.directory))
        .arg(c.number, 3, 10, QLatin1Char('0'))
        .arg(n % 3)
        .arg((n + 1) % 3)
        .toLatin1();
}

uint32_t DeviceLogs::NextTransactionNumber() const
{
    return NumberOf(m_transactions + 1);
}

std::optional<uint32_t> DeviceLogs::LatestTransactionNumber() const
{
    if (m_transactions == 0)
        return std::nullopt;
    return NumberOf(m_transactions);
}

std::optional<uint64_t> DeviceLogs::TransactionSequence(uint32_t number) const
{
    if (number < 1 || number > kMaxSequence || m_transactions == 0)
        return std::nullopt;
    // How far back from the latest this number lies, walking down with the wrap.
    const uint32_t latest = NumberOf(m_transactions);
    const uint32_t back = (latest + kMaxSequence - number) % kMaxSequence;
    const uint64_t kept = std::min<uint64_t>(m_transactions, kArchiveCapacity);
    if (back >= kept)
        return std::nullopt;
    return m_transactions - back;
}

uint32_t DeviceLogs::GrossTenths(uint64_t sequence)
{
    return uint32_t(20000 + (sequence * 7919) % 60000);
}

uint32_t DeviceLogs::NetTenths(uint64_t sequence)
{
    const uint32_t gross = GrossTenths(sequence);
    return gross - gross / 100 - uint32_t(sequence % 7);
}

QByteArray DeviceLogs::TransactionRecord(uint64_t sequence) const
{
    const QDateTime t = StampOf(sequence, 29);
    return QStringLiteral("%1 %2 R%3 GV %4 NV %5 %6")
        .arg(NumberOf(sequence), 4, 10, QLatin1Char('0'))
        .arg(Stamp(t))
        .arg(int(sequence % 4) + 1, 2, 10, QLatin1Char('0'))
        .arg(Volume(GrossTenths(sequence)), Volume(NetTenths(sequence)))
        .arg(QStringLiteral("COMPLETE"))
        .toLatin1();
}

QByteArray DeviceLogs::TransactionUserData(uint64_t sequence) const
{
    return QStringLiteral("DRIVER %1 TRAILER T%2 ORDER %3")
        .arg(int(sequence % 250) + 1, 4, 10, QLatin1Char('0'))
        .arg(int(sequence % 97) + 1, 3, 10, QLatin1Char('0'))
        .arg(qulonglong(100000 + sequence))
        .toLatin1();
}

QByteArray DeviceLogs::TransactionReport(uint64_t sequence) const
{
    const QDateTime t = StampOf(sequence, 29);
    const QString lines[] = {
        QStringLiteral("        LOADING TICKET"),
        QString(),
        QStringLiteral("TRANSACTION     %1").arg(NumberOf(sequence), 4, 10, QLatin1Char('0')),
        QStringLiteral("DATE            %1").arg(t.toString(QStringLiteral("MM/dd/yy"))),
        QStringLiteral("TIME            %1").arg(t.toString(QStringLiteral("HH:mm:ss"))),
        QStringLiteral("RECIPE          %1").arg(int(sequence % 4) + 1, 2, 10, QLatin1Char('0')),
        QStringLiteral("GROSS VOLUME    %1 GAL").arg(Volume(GrossTenths(sequence))),
        QStringLiteral("NET VOLUME      %1 GAL").arg(Volume(NetTenths(sequence))),
        QStringLiteral("AVG TEMP        %1 F").arg(QString::number(55.0 + double(sequence % 300) / 10.0, 'f', 1)),
        QString(),
        QStringLiteral("        END OF REPORT"),
    };
    QByteArray out;
    for (const QString& line : lines)
        out += line.toLatin1() + "\r\n";
    return out;
}
