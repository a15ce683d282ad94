// The terminal emulator's engine (see TerminalSession.h).
#include "TerminalSession.h"

#include "CommStatusText.h"
#include "RejectionTexts.h"
#include "UserInterface.h"
#include "VandtProtocol.h"
#include "WaitFlagTable.h"
#include "WaitCursor.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QThread>
#include <climits>

namespace {

const QString kCaption = QStringLiteral("Terminal Emulator");
const QString kReportFile = QStringLiteral("REPORT.TXT");

bool StartsWith(const QString& line, const char* keyword)
{
    return line.startsWith(QLatin1String(keyword), Qt::CaseInsensitive);
}

bool IsWhole(const QString& line, const char* keyword)
{
    return line.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

QString WithoutLeadingBlanks(const QString& s)
{
    qsizetype i = 0;
    while (i < s.size() && (s[i] == QLatin1Char(' ') || s[i] == QLatin1Char('\t')))
        ++i;
    return s.mid(i);
}

// The decimal number at the start of text (after blanks); 0 without digits; capped at max.
quint64 LeadingNumber(const QString& text, quint64 max)
{
    const QString s = WithoutLeadingBlanks(text);
    quint64 n = 0;
    for (const QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        n = n * 10 + quint64(c.unicode() - '0');
        if (n > max)
            return max;
    }
    return n;
}

// A line a macro holds only for GOTO to find: "NAME:" without blanks.
bool IsLabel(const QString& line)
{
    return line.size() > 1 && line.endsWith(QLatin1Char(':')) && !line.contains(QLatin1Char(' '));
}

} // namespace

TerminalSession::TerminalSession(UserInterface& ui)
    : m_ui(ui)
    , m_reportDirectory(QDir::currentPath())
{
}

TerminalSession::~TerminalSession()
{
    DropMacros();
    CloseProgress();
    m_log.Close();
}

bool TerminalSession::SubmitTypedLine(const QString& line)
{
    if (line.size() < 2)
        return false;
    m_commandAddress = m_unitAddress;
    Execute(line);
    return true;
}

void TerminalSession::Execute(const QString& line)
{
    m_input = line;
    m_lineFromMacro = false;
    ExecuteInput();
}

bool TerminalSession::Step()
{
    if (!m_pending)
        return false;
    m_pending = false;
    m_lineFromMacro = true;
    ExecuteInput();
    return m_pending;
}

void TerminalSession::RunMacros()
{
    while (Step()) {
    }
}

void TerminalSession::ExecuteInput()
{
    m_lastCommand = m_input;
    m_input.clear();
    Dispatch(m_lastCommand);
    Continue();
}

void TerminalSession::Dispatch(const QString& line)
{
    if (StartsWith(line, "PLAY")) {
        Play(line.mid(4));
    } else if (IsWhole(line, "CLS")) {
        m_output.clear();
    } else if (StartsWith(line, "ECHO")) {
        m_lastCommand = WithoutLeadingBlanks(line.mid(4));
        m_lastReply.clear();
        EchoLine(false);
    } else if (StartsWith(line, "PROMPT")) {
        m_lastCommand = WithoutLeadingBlanks(line.mid(6));
        if (m_promptHandler)
            m_promptHandler(m_lastCommand);
        else
            m_ui.MessageBox(m_lastCommand, QString(), UserInterface::Buttons::Ok);
        m_lastReply.clear();
        EchoLine(false);
    } else if (StartsWith(line, "ADDRESS")) {
        m_commandAddress = int(LeadingNumber(line.mid(7), INT_MAX));
        m_lastReply = QStringLiteral("Switched to address %1 ").arg(m_commandAddress);
        EchoLine(false);
    } else if (StartsWith(line, "DELAY")) {
        Delay(line.mid(5));
    } else if (StartsWith(line, "WAITFOR")) {
        WaitFor(line.mid(7));
    } else if (StartsWith(line, "LOG")) {
        LogCommand(line.mid(3));
    } else if (IsWhole(line, "EXIT")) {
        m_exitRequested = true;
        DropMacros();
        m_log.Close();
    } else if (m_lineFromMacro && (line.trimmed().isEmpty() || IsLabel(line))) {
        // Blank lines and labels of a macro are not commands: nothing goes to the device.
    } else {
        DeviceCommand();
    }
}

void TerminalSession::Play(const QString& argument)
{
    QString name = WithoutLeadingBlanks(argument);
    if (name.isEmpty()) {
        const std::optional<QString> chosen =
            m_ui.ChooseOpenFile(QStringLiteral("Open"), QStringLiteral("Macro Files (*.mac *.MAC);;All Files (*)"));
        if (!chosen || chosen->isEmpty())
            return;
        name = *chosen;
    }
    if (!m_current && m_log.IsOpen()) {
        const int answer = m_ui.MessageBox(
            QStringLiteral("Logging is enabled. Close logfile before running macro?\n(If the macro contains log "
                           "commands, select Yes will allow the macro to function as intended)"),
            kCaption, UserInterface::Buttons::YesNo);
        if (answer == UserInterface::Yes)
            m_log.Close();
    }
    m_lastReply.clear();
    EchoLine(false);

    const bool nested = m_current != nullptr;
    if (nested)
        ++m_depth;
    auto macro = std::make_unique<CMacro>(name, std::move(m_current), &m_log);
    if (macro->ErrorCode() != CMacro::NoError) {
        m_ui.MessageBox(QStringLiteral("Error executing %1... %2").arg(name, macro->ErrorText()));
        m_current = macro->TakeParent();
        if (m_depth > 0)
            --m_depth;
        return;
    }
    if (!nested)
        m_lastRunAborted = false;
    // A SHELL line pumps the progress window, so Cancel ends a command that hangs.
    macro->SetWaitPump([this] { return PumpProgress(); });
    m_current = std::move(macro);
    OpenProgress(QStringLiteral("Executing macro...."));
    Message(QStringLiteral("Running macro..."));
}

void TerminalSession::Delay(const QString& argument)
{
    const quint64 seconds = LeadingNumber(argument, 0xFFFFFFFFu);
    m_lastReply = QStringLiteral("Delaying %1 secs").arg(seconds);
    EchoLine(false);
    OpenProgress(QStringLiteral("Executing delay...."));
    m_ui.ProgressSetText(m_lastReply);
    const qint64 end = QDateTime::currentSecsSinceEpoch() + qint64(seconds);
    while (QDateTime::currentSecsSinceEpoch() < end) {
        if (PumpProgress())
            break;
        QThread::msleep(20);
    }
    m_ui.ProgressSetText(QString());
}

void TerminalSession::WaitFor(const QString& argument)
{
    m_lastReply.clear();
    EchoLine(false);
    QString rest = argument;
    const qsizetype bang = rest.indexOf(QLatin1Char('!'));
    const bool waitForClear = bang >= 0;
    if (waitForClear)
        rest = rest.mid(bang + 1);
    rest = WithoutLeadingBlanks(rest);
    const WaitFlag* flag = WaitFlagTable::Find(rest);
    if (!flag) {
        m_ui.MessageBox(QStringLiteral("Unknown flag specified in WAITFOR command"));
        return;
    }
    m_lastCommand = QStringLiteral("EQ");
    OpenProgress(QStringLiteral("Waiting for status change"));
    QString text = WithoutLeadingBlanks(rest.mid(2));
    if (text.isEmpty())
        text = QStringLiteral("Waiting for %1 flag %2")
                   .arg(QLatin1String(flag->name), waitForClear ? QStringLiteral("to Clear") : QString());
    else if (m_beeper)
        m_beeper();
    m_ui.ProgressSetText(text);
    for (;;) {
        if (ExchangeCommand()) {
            const std::optional<bool> set = WaitFlagTable::IsSet(*flag, m_lastReply.toLatin1());
            if (set && *set != waitForClear)
                break;
        } else if (!m_link || m_link->Status() == CommIoError || !m_link->Port().IsOpen()) {
            // No link, or a line that cannot carry a command: no status will ever come.
            break;
        }
        if (PumpProgress())
            break;
    }
    m_ui.ProgressSetText(QString());
}

void TerminalSession::LogCommand(const QString& argument)
{
    if (!m_log.IsOpen()) {
        if (m_log.Open(WithoutLeadingBlanks(argument)))
            Message(QStringLiteral("Logging... type LOG with no arguments to close log file"));
        else
            m_ui.MessageBox(QStringLiteral("Error: Must specify log file name"));
    } else {
        m_log.Close();
        Message(QStringLiteral("Ready"));
    }
}

void TerminalSession::DeviceCommand()
{
    ExchangeCommand();
    EchoLine(true);
}

bool TerminalSession::ExchangeCommand()
{
    if (!m_link) {
        m_ui.MessageBox(QStringLiteral("Communications Not Yet configured.\n                       Close Terminal "
                                       "Emulator and select 'Options|Options for this Document...'"));
        return false;
    }
    WaitCursor wait(m_ui);
    m_link->SetUnitAddress(m_commandAddress & 0xFF);
    if (!m_link->Send(m_lastCommand.toLatin1())) {
        // The echo shows why nothing was answered, not the previous command's reply.
        m_lastReply = CommStatusText(m_link->Status());
        m_ui.MessageBox(m_lastReply);
        return false;
    }
    QByteArray reply;
    const int rc = m_link->Receive(reply);
    if (rc != CommOk) {
        if (rc == CommRejected) {
            m_lastReply = FormatRejection(m_link->RejectionNumber());
        } else {
            m_lastReply = CommStatusText(rc);
            if (!m_current)
                m_ui.MessageBox(m_lastReply);
        }
        return false;
    }
    // The whole reply is kept, however long the device made it.
    m_lastReply = QString::fromLatin1(reply);
    if (m_lastCommand.startsWith(QLatin1String("PT")))
        CaptureReport();
    return true;
}

void TerminalSession::CaptureReport()
{
    const QString path = QDir(m_reportDirectory).filePath(kReportFile);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return;
    Message(QStringLiteral("Capturing report to file REPORT.TXT... "));
    ComStream& port = m_link->Port();
    for (int n = 0; n < kMaxReportBytes; ++n) {
        char c = 0;
        if (port.Read(&c, 1, ComStream::kReadCount) <= 0)
            break;
        if (c == '\r')
            continue;
        if (m_log.IsOpen())
            m_log.Write(QByteArray(1, c));
        else
            file.write(&c, 1);
        if (c == '\f') {
            // The line end after the form feed belongs to the report's end.
            for (int i = 0; i < 2; ++i) {
                char dropped = 0;
                port.Read(&dropped, 1, ComStream::kReadCount);
            }
            break;
        }
    }
    file.close();
    Message(QStringLiteral("Report captured. "));
    if (!m_log.IsOpen() && m_reportOpener)
        m_reportOpener(path);
}

void TerminalSession::Continue()
{
    if (m_current && m_current->State() == CMacro::Running)
        m_input = m_current->NextLine();
    while (m_current && m_current->State() == CMacro::Ended) {
        m_current = m_current->TakeParent();
        if (m_depth > 0)
            --m_depth;
        if (m_current)
            m_input = m_current->NextLine();
    }
    if (m_progressOpen) {
        const bool cancelled = PumpProgress();
        if (cancelled) {
            DropMacros();
            m_input.clear();
            m_lastCommand.clear();
        }
        if (!m_current) {
            Message(cancelled ? QStringLiteral("Macro aborted by user") : QStringLiteral("Macro complete"));
            CloseProgress();
            m_lastRunAborted = cancelled;
        }
    }
    if (!m_current) {
        m_depth = 0;
        m_abortRequested.store(false);
    }
    m_pending = m_current && m_current->State() == CMacro::Running && !m_exitRequested;
}

void TerminalSession::EchoLine(bool withAddress)
{
    AppendOutput(withAddress ? EchoWithAddress(m_depth, m_commandAddress, m_lastCommand, m_lastReply)
                             : EchoWithoutAddress(m_depth, m_lastCommand, m_lastReply));
}

QString TerminalSession::EchoWithAddress(int depth, int address, const QString& command, const QString& reply)
{
    const int indent = 2 * std::max(depth, 0);
    const int width = std::max(40 - indent, 0);
    return QString(indent, QLatin1Char(' ')) + QStringLiteral("%1").arg(address & 0xFF, 2, 10, QLatin1Char('0'))
        + command.left(width).leftJustified(width, QLatin1Char(' ')) + QLatin1Char(' ') + reply
        + QStringLiteral("\r\n");
}

QString TerminalSession::EchoWithoutAddress(int depth, const QString& command, const QString& reply)
{
    const int indent = 2 * std::max(depth, 0);
    const int width = std::max(42 - indent, 0);
    return QString(indent, QLatin1Char(' ')) + command.leftJustified(width, QLatin1Char(' ')) + QLatin1Char(' ')
        + reply + QStringLiteral("\r\n");
}

void TerminalSession::AppendOutput(const QString& line)
{
    m_output += line;
    if (m_output.size() > kOutputLimit)
        m_output.remove(0, m_output.size() - kOutputKept);
    m_log.Write(line);
    if (m_echoSink) {
        QString shown = line;
        if (shown.endsWith(QLatin1String("\r\n")))
            shown.chop(2);
        m_echoSink(shown);
    }
}

void TerminalSession::OpenProgress(const QString& title)
{
    if (m_progressOpen)
        return;
    m_ui.ProgressBegin(title, QString(), 0, 100);
    m_progressOpen = true;
    m_progressPos = 0;
}

void TerminalSession::CloseProgress()
{
    if (!m_progressOpen)
        return;
    m_ui.ProgressEnd();
    m_progressOpen = false;
}

bool TerminalSession::PumpProgress()
{
    m_ui.Pump();
    m_progressPos = (m_progressPos + 1) % 101;
    m_ui.ProgressSetPos(m_progressPos);
    return m_ui.ProgressCancelled() || m_abortRequested.load();
}

void TerminalSession::Message(const QString& text)
{
    m_ui.SetStatusText(kMessagePane, text);
}

void TerminalSession::DropMacros()
{
    while (m_current)
        m_current = m_current->TakeParent();
    m_depth = 0;
}
