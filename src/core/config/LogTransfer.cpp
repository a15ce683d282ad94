// Log retrieval to text files (see LogTransfer.h).
#include "LogTransfer.h"

#include "CommStatusText.h"
#include "CquillTrakDoc.h"
#include "DeviceConnection.h"
#include "DocumentCommand.h"
#include "UserInterface.h"
#include "ValueFormat.h"
#include "VandtProtocol.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kProgressUpper = 2000;
constexpr uint32_t kLastTransactionNumber = 9999;
constexpr int kLatestOffset = 7;       // "ES", "PS"
constexpr int kEntryOffset = 7;        // "ER", "PR"
constexpr int kTransactionOffset = 3;  // "TS", "TR"
constexpr int kUserDataOffset = 14;    // "TU"

struct LogTexts {
    const char* latestCommand;
    const char* entryCommand;
    const char* suffix;
    const char* dialogTitle;
    const char* progressTitle;
    const char* progressMessage; // with the entry number as %1
};

const LogTexts kEventTexts = {"ES", "ER", "-EventLog.txt", "Select file to store event log data",
                              "Transferring Event Log entries...", "Reading event log entry %1"};
const LogTexts kAuditTexts = {"PS", "PR", "-AuditLog.txt", "Select file to store audit log data",
                              "Transferring Audit Log entries...", "Reading Audit log entry %1"};
const LogTexts kTransactionTexts = {"TS", "TR", "-TransLog.txt", "Select file to store transaction log data",
                                    "Transferring Transaction Log entries...", "Reading transaction log entry %1"};

const char kLineEnd[] = "\r\n";

QByteArray Command(const char* code, uint32_t n)
{
    return QByteArray(code) + ' ' + QByteArray::number(n);
}

uint32_t NumberAt(const QByteArray& reply, int offset)
{
    return LeadingUnsigned(QString::fromLatin1(reply.mid(offset)));
}

uint32_t PreviousTransaction(uint32_t n)
{
    return n == 1 ? kLastTransactionNumber : n - 1;
}

} // namespace

LogTransfer::LogTransfer(DeviceConnection& connection)
    : m_connection(connection)
    , m_doc(connection.Document())
    , m_ui(connection.Ui())
{
}

QString LogTransfer::DefaultFileName(const QString& title, const QString& suffix)
{
    const qsizetype dot = title.lastIndexOf(QLatin1Char('.'));
    return (dot > 0 ? title.left(dot) : title) + suffix;
}

LogTransfer::Outcome LogTransfer::Run(Log log)
{
    m_path.clear();
    m_lines = 0;
    static constexpr DocumentCommand kCommands[] = {DocumentCommand::EventLog, DocumentCommand::AuditLog,
                                                    DocumentCommand::TransactionLog};
    if (!IsCommandEnabled(m_doc, kCommands[int(log)]))
        return Outcome::NotEnabled;
    return log == Log::Transaction ? Transactions() : EventOrAudit(log);
}

bool LogTransfer::CreateFile(QFile& file, const QString& suffix, const QString& dialogTitle, Outcome& outcome)
{
    QString path = m_presetPath;
    if (path.isEmpty()) {
        const std::optional<QString> chosen =
            m_ui.ChooseSaveFile(dialogTitle, DefaultFileName(m_doc.title, suffix),
                                QStringLiteral("Text files (*.txt);;All files (*.*)"));
        if (!chosen || chosen->isEmpty()) {
            outcome = Outcome::NoFile;
            return false;
        }
        path = *chosen;
        // The dialog's default extension, for a name typed without one.
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".txt");
    }
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_ui.MessageBox(QStringLiteral("Cannot create \"%1\": %2").arg(path, file.errorString()), QString(),
                        UserInterface::Buttons::Ok, UserInterface::Icon::Error);
        outcome = Outcome::FileError;
        return false;
    }
    m_path = QFileInfo(file).absoluteFilePath();
    return true;
}

bool LogTransfer::WriteBytes(QFile& file, const QByteArray& bytes)
{
    if (file.write(bytes) == bytes.size())
        return true;
    m_ui.MessageBox(QStringLiteral("Cannot write \"%1\": %2").arg(file.fileName(), file.errorString()), QString(),
                    UserInterface::Buttons::Ok, UserInterface::Icon::Error);
    return false;
}

LogTransfer::Outcome LogTransfer::EntryFailure(VandtProtocol& link)
{
    link.ShowErrorBox(m_ui);
    return Outcome::CommError;
}

LogTransfer::Outcome LogTransfer::EventOrAudit(Log log)
{
    const LogTexts& texts = log == Log::Event ? kEventTexts : kAuditTexts;
    VandtProtocol* link = m_connection.Link();
    if (!link || !link->Send(texts.latestCommand)) {
        m_ui.MessageBox(QStringLiteral("Error in transmission of command - aborting"));
        return Outcome::Failed;
    }
    QByteArray reply;
    if (link->Receive(reply) != CommOk) {
        m_ui.MessageBox(QStringLiteral("Error in response - aborting"));
        return Outcome::Failed;
    }
    uint32_t n = NumberAt(reply, kLatestOffset);

    Outcome outcome = Outcome::Completed;
    QFile file;
    if (!CreateFile(file, QString::fromLatin1(texts.suffix), QString::fromLatin1(texts.dialogTitle), outcome))
        return outcome;
    const QString message = QString::fromLatin1(texts.progressMessage);
    m_ui.ProgressBegin(QString::fromLatin1(texts.progressTitle), message.arg(n), 0, kProgressUpper);

    // An empty log (latest number 0) leaves an empty file: there is no entry 0 to ask for.
    while (n > 0) {
        if (!link->Send(Command(texts.entryCommand, n))) {
            outcome = EntryFailure(*link);
            break;
        }
        QByteArray entry;
        const int status = link->Receive(entry);
        if (status == CommRejected)
            break;
        if (status != CommOk) {
            outcome = EntryFailure(*link);
            break;
        }
        if (!WriteBytes(file, entry.mid(kEntryOffset) + kLineEnd)) {
            outcome = Outcome::FileError;
            break;
        }
        ++m_lines;
        --n;
        m_ui.ProgressStep();
        m_ui.Pump();
        if (m_ui.ProgressCancelled()) {
            outcome = Outcome::Cancelled;
            break;
        }
        m_ui.ProgressSetText(message.arg(n));
    }
    file.close();
    m_ui.ProgressEnd();
    return outcome;
}

LogTransfer::Outcome LogTransfer::Transactions()
{
    const LogTexts& texts = kTransactionTexts;
    VandtProtocol* link = m_connection.Link();
    if (!link || !link->Send(texts.latestCommand)) {
        m_ui.MessageBox(QStringLiteral("Error in transmission of command - aborting"));
        return Outcome::Failed;
    }
    QByteArray reply;
    const uint32_t next = link->Receive(reply) == CommOk ? NumberAt(reply, kTransactionOffset) : 0;
    // Transaction numbers run from 1 to 9999; anything else is no usable answer.
    if (next < 1 || next > kLastTransactionNumber) {
        m_ui.MessageBox(QStringLiteral("No Data/Error - aborting"));
        return Outcome::Failed;
    }
    const uint32_t first = PreviousTransaction(next);

    Outcome outcome = Outcome::Completed;
    QFile file;
    if (!CreateFile(file, QString::fromLatin1(texts.suffix), QString::fromLatin1(texts.dialogTitle), outcome))
        return outcome;
    const QString message = QString::fromLatin1(texts.progressMessage);
    m_ui.ProgressBegin(QString::fromLatin1(texts.progressTitle), message.arg(first), 0, kProgressUpper);

    uint32_t n = first;
    for (;;) {
        m_ui.ProgressSetText(message.arg(n));
        if (!link->Send(Command("TR", n))) {
            outcome = EntryFailure(*link);
            break;
        }
        QByteArray record;
        int status = link->Receive(record);
        if (status == CommRejected)
            break;
        if (status != CommOk) {
            outcome = EntryFailure(*link);
            break;
        }
        QByteArray line = record.mid(kTransactionOffset);
        QByteArray userData;
        if (link->Send(Command("TU", n)) && link->Receive(userData) == CommOk)
            line += ',' + userData.mid(kUserDataOffset);
        line += kLineEnd;
        if (!WriteBytes(file, line)) {
            outcome = Outcome::FileError;
            break;
        }
        ++m_lines;

        // The user data asked for once more: its rejection ends the log.
        if (!link->Send(Command("TU", n))) {
            outcome = EntryFailure(*link);
            break;
        }
        status = link->Receive(userData);
        if (status == CommRejected)
            break;
        if (status != CommOk) {
            outcome = EntryFailure(*link);
            break;
        }

        n = PreviousTransaction(n);
        m_ui.ProgressStep();
        m_ui.Pump();
        if (m_ui.ProgressCancelled()) {
            file.close();
            m_ui.ProgressEnd();
            return Outcome::Cancelled;
        }
        if (n == first)
            break; // every number once
    }
    file.close();
    m_ui.ProgressEnd();
    if (outcome == Outcome::Completed && m_handOver)
        m_handOver(m_path);
    return outcome;
}
