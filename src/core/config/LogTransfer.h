// Copies the device's event, audit and transaction logs into text files, newest entry first,
// one line per entry ended by CR LF. Event and audit: "ES"/"PS" give the latest number (reply
// offset 7), "ER n"/"PR n" each entry (offset 7), n counting down to 1. Transactions: "TS"
// gives the next transaction number t (offset 3); the walk starts at t - 1 (9999 when t is
// 1, numbers wrap from 1 to 9999), each line is the "TR n" reply from offset 3 and, when "TU n"
// is accepted, a comma and the "TU" reply from offset 14. A rejected entry command is the
// normal end of a log.
//
// Invariants: the file is created anew only after the latest-number exchange succeeded and a
// file was chosen; what was written stays after Cancel or a failure. Only accepted replies are
// ever written: a reply failure other than a rejection stops the walk with a message, so no
// line repeats an earlier reply. A transaction walk visits every number at most once.
#pragma once

#include <QString>
#include <functional>

class CquillTrakDoc;
class DeviceConnection;
class QFile;
class UserInterface;
class VandtProtocol;

class LogTransfer {
public:
    enum class Log { Event, Audit, Transaction };
    enum class Outcome {
        Completed,    // the log ended (rejection or entry 1); the file holds it
        Cancelled,    // Cancel in the progress window; the file holds what was read
        Failed,       // the latest-number exchange failed; no file
        NoFile,       // the file choice was cancelled
        FileError,    // the file could not be created or written
        CommError,    // an entry exchange failed; the file holds what was read
        NotEnabled,   // the connection state does not allow reading
    };
    // Receives the full path of a completed transaction log (the spreadsheet hand-over).
    using HandOver = std::function<void(const QString& path)>;

    explicit LogTransfer(DeviceConnection& connection);

    Outcome Run(Log log);
    Outcome EventLogToFile() { return Run(Log::Event); }
    Outcome AuditLogToFile() { return Run(Log::Audit); }
    Outcome TransactionLogToFile() { return Run(Log::Transaction); }

    // A file chosen beforehand (the command line names its file): no file dialog is shown.
    void SetFilePath(const QString& path) { m_presetPath = path; }
    void SetTransactionHandOver(HandOver handOver) { m_handOver = std::move(handOver); }

    // The file written by the last run, and its number of lines.
    QString FilePath() const { return m_path; }
    int LinesWritten() const { return m_lines; }

    // The document title without its extension (the part before its last ".", unless that dot
    // is the first character), followed by the suffix.
    static QString DefaultFileName(const QString& title, const QString& suffix);

private:
    Outcome EventOrAudit(Log log);
    Outcome Transactions();
    // The file dialog (or the preset path) and the new file; nullopt-like false on cancel or
    // error, with the outcome set.
    bool CreateFile(QFile& file, const QString& suffix, const QString& dialogTitle, Outcome& outcome);
    bool WriteBytes(QFile& file, const QByteArray& bytes);
    // Shows a failed entry exchange; returns CommError.
    Outcome EntryFailure(VandtProtocol& link);

    DeviceConnection& m_connection;
    CquillTrakDoc& m_doc;
    UserInterface& m_ui;
    QString m_presetPath;
    HandOver m_handOver;
    QString m_path;
    int m_lines = 0;
};
