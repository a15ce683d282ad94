// The device's three histories, generated on demand from their sizes so that any size costs
// nothing: the event log and the audit (program-change) log hold entries 1..N; the
// transaction archive holds the last N completed transactions, whose numbers run 1..9999 and
// wrap (the transaction after 9999 is 1). The archive keeps at most 9998 transactions, so the
// number of the transaction to come is never also an archived one and a host walking
// backwards always meets a number the device rejects.
// Every entry's text is a pure function of its sequence, so two runs agree byte for byte.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <cstdint>
#include <optional>

class DeviceLogs {
public:
    static constexpr uint32_t kMaxSequence = 9999;      // event and audit numbers, transaction wrap
    static constexpr uint32_t kArchiveCapacity = 9998;  // transactions kept

    DeviceLogs(uint32_t events, uint32_t audits, uint64_t transactions);

    uint32_t EventCount() const { return m_events; }
    uint32_t AuditCount() const { return m_audits; }
    // Completed transactions since the device was new (not only those kept).
    uint64_t TransactionsDone() const { return m_transactions; }

    // Entry text of event / audit n (1..count), nullopt outside the history.
    std::optional<QByteArray> Event(uint32_t n) const;
    std::optional<QByteArray> Audit(uint32_t n) const;

    // The number the next transaction will carry (1..9999): the latest number plus one.
    uint32_t NextTransactionNumber() const;
    // The latest completed transaction's number, nullopt when none was ever done.
    std::optional<uint32_t> LatestTransactionNumber() const;
    // The sequence (1-based count since new) of the archived transaction with this number.
    std::optional<uint64_t> TransactionSequence(uint32_t number) const;
    // "TR" record, archived user data and printed report of an archived transaction.
    QByteArray TransactionRecord(uint64_t sequence) const;
    QByteArray TransactionUserData(uint64_t sequence) const;
    QByteArray TransactionReport(uint64_t sequence) const;

    // Gross and net volume of a transaction, tenths of a unit.
    static uint32_t GrossTenths(uint64_t sequence);
    static uint32_t NetTenths(uint64_t sequence);
    // The number a transaction of this sequence carries.
    static uint32_t NumberOf(uint64_t sequence) { return uint32_t((sequence - 1) % kMaxSequence) + 1; }
    // When an entry was written: a fixed clock, so the texts never depend on the run.
    static QDateTime StampOf(uint64_t sequence, int minutesApart);

private:
    uint32_t m_events;
    uint32_t m_audits;
    uint64_t m_transactions;
};
