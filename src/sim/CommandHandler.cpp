// The device's commands (see CommandHandler.h). Every reply is built from the device state;
// malformed arguments are rejected, never guessed at.
#include "CommandHandler.h"

#include "FrameFormat.h"
#include "ValueFormat.h"

#include <QDateTime>
#include <cmath>

namespace {

// A whole decimal number of at most digits characters, nothing else.
std::optional<uint32_t> Decimal(const QByteArray& text, int digits = 9)
{
    if (text.isEmpty() || text.size() > digits)
        return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + uint32_t(c - '0');
    }
    return value;
}

QByteArray Padded(uint64_t value, int width)
{
    return QByteArray::number(qulonglong(value)).rightJustified(width, '0');
}

// Is the text a number as the device reads values: blanks, then an optional sign and digits
// with at most one decimal point (or comma), then an optional exponent; all blanks read as 0.
bool IsNumberText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return true;
    int i = 0;
    if (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))
        ++i;
    int digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.isDigit()) {
            ++digits;
        } else if ((c == QLatin1Char('.') || c == QLatin1Char(',')) && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        ++i;
        if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            ++i;
        const int start = i;
        while (i < t.size() && t[i].isDigit())
            ++i;
        if (i == start)
            return false;
    }
    return i == t.size();
}

const char* const kEchoedCodes[] = {
    // Commands of the terminal's menus whose reply is their echo.
    "AR", "SB", "PP", "IC", "MC",
    // Further commands the device accepts (authorisation, prompts, flow control, card reader).
    "SR", "CV", "CF", "SW", "OA", "BA", "AV", "RB", "RP", "TI", "CP", "DS", "LS", "TB", "SV",
    "WA", "WB", "WC", "WD", "WE", "WF", "WG", "WP", "WQ", "WX", "RK", "GK", "DA", "FS", "SS",
    "AB", "AU", "AP", "EB", "ET", "CT", "TA", "SA", "ST", "SP", "TD", "TW", "AO", "MS", "SF",
    "RN", "CD", "DI", "DD", "DU", "DQ",
};

} // namespace

QByteArray CommandHandler::Rejected(int number)
{
    return "NO" + Padded(uint32_t(number), 2);
}

CommandHandler::CommandHandler(DeviceState& state)
    : m_state(state)
{
    m_handlers = {
        {"PV", &CommandHandler::ReadValue},          {"XV", &CommandHandler::ReadValue},
        {"PC", &CommandHandler::WriteValue},         {"XC", &CommandHandler::WriteLevel},
        {"EQ", &CommandHandler::Status},             {"RS", &CommandHandler::StatusCodes},
        {"EA", &CommandHandler::StatusCodes},        {"RA", &CommandHandler::StatusCodes},
        {"RR", &CommandHandler::StatusCodes},        {"GP", &CommandHandler::Firmware},
        {"LO", &CommandHandler::LogOff},             {"ES", &CommandHandler::LogLatest},
        {"PS", &CommandHandler::LogLatest},          {"ER", &CommandHandler::LogEntry},
        {"PR", &CommandHandler::LogEntry},           {"TS", &CommandHandler::TransactionLatest},
        {"TR", &CommandHandler::TransactionEntry},   {"TU", &CommandHandler::TransactionEntry},
        {"AT", &CommandHandler::TransactionData},    {"LT", &CommandHandler::TransactionData},
        {"LP", &CommandHandler::TransactionData},    {"LD", &CommandHandler::TransactionData},
        {"RL", &CommandHandler::TransactionData},    {"RT", &CommandHandler::TransactionData},
        {"TN", &CommandHandler::TransactionData},    {"PT", &CommandHandler::PrintReport},
        {"GD", &CommandHandler::GetDate},            {"SD", &CommandHandler::SetDate},
        {"UF", &CommandHandler::RamExecutive},       {"BR", &CommandHandler::UserRegister},
        {"BW", &CommandHandler::UserRegister},       {"RE", &CommandHandler::ResetFlag},
        {"OR", &CommandHandler::OutputRelay},        {"FL", &CommandHandler::Measurement},
        {"RD", &CommandHandler::Measurement},        {"RQ", &CommandHandler::Measurement},
        {"PF", &CommandHandler::Measurement},        {"VT", &CommandHandler::Measurement},
        {"DY", &CommandHandler::Measurement},        {"IR", &CommandHandler::Forwarded},
        {"MR", &CommandHandler::Forwarded},
    };
    for (const char* code : kEchoedCodes) {
        if (!m_handlers.contains(code))
            m_handlers.insert(code, &CommandHandler::Echo);
    }
    // "IC" and "MC" also keep their command for the response query.
    m_handlers.insert("IC", &CommandHandler::Forwarded);
    m_handlers.insert("MC", &CommandHandler::Forwarded);
    m_handlers.insert("PP", &CommandHandler::PrintReport);
}

SimReply CommandHandler::Handle(const QByteArray& command)
{
    if (m_state.InRamExecutive())
        return SimReply::Silent();
    // The command word is two letters, followed by nothing or a blank and its arguments.
    if (command.size() < 2 || (command.size() > 2 && command[2] != ' '))
        return {Rejected(InvalidCommand)};
    const QByteArray code = command.left(2);
    const auto it = m_handlers.constFind(code);
    if (it == m_handlers.constEnd())
        return {Rejected(InvalidCommand)};
    const QList<QByteArray> args = command.mid(2).simplified().split(' ');
    QList<QByteArray> nonEmpty;
    for (const QByteArray& a : args) {
        if (!a.isEmpty())
            nonEmpty << a;
    }
    return (this->*(*it))(code, nonEmpty, command);
}

SimReply CommandHandler::ReadValue(const QByteArray& code, const QList<QByteArray>& args, const QByteArray&)
{
    if (args.size() != 2)
        return {Rejected(InvalidCommand)};
    const std::optional<uint32_t> number = Decimal(args[1], 3);
    if (args[0].size() != 2 || !number)
        return {Rejected(InvalidCommand)};
    DBParam* p = m_state.FindProgramCode(QString::fromLatin1(args[0]), int(*number));
    if (!p)
        return {Rejected(ProgramCodeNotUsed)};
    // The echo is normalised to three digits, so the value always starts at offset 10.
    const QByteArray echo = code + ' ' + args[0] + ' ' + Padded(*number, 3) + ' ';
    if (code == "XV") {
        if (!p->def->HasSecurityLevel())
            return {Rejected(OperationNotAllowed)};
        return {echo + QByteArray::number(m_state.Document().GetSecurityLevel(*p))};
    }
    m_state.RefreshLiveValue(*p);
    return {echo + FormatValue(*p, m_state.Document().Image()).toLatin1()};
}

SimReply CommandHandler::WriteValue(const QByteArray&, const QList<QByteArray>& args, const QByteArray& command)
{
    // "PC dd nnn value": the value is everything after the blank that follows the number, as
    // it was sent (a number may be padded with blanks, a text may hold blanks).
    if (args.size() < 2)
        return {Rejected(InvalidCommand)};
    const std::optional<uint32_t> number = Decimal(args[1], 3);
    if (args[0].size() != 2 || !number)
        return {Rejected(InvalidCommand)};
    const qsizetype numberAt = command.indexOf(args[1], command.indexOf(args[0], 2) + 2);
    QByteArray value = command.mid(numberAt + args[1].size());
    if (!value.isEmpty()) {
        if (value[0] != ' ')
            return {Rejected(InvalidCommand)};
        value.remove(0, 1);
    }

    // A write asks for program mode first; a locked device refuses it.
    if (!m_state.EnterProgramMode())
        return {Rejected(MustBeInProgramMode)};
    DBParam* p = m_state.FindProgramCode(QString::fromLatin1(args[0]), int(*number));
    if (!p)
        return {Rejected(ProgramCodeNotUsed)};
    if (p->IsReadOnly())
        return {Rejected(OperationNotAllowed)};

    const ParamDef& def = *p->def;
    QString text = QString::fromLatin1(value);
    if (def.type == ValueType::Text) {
        // Texts come padded to their display width; the padding is not part of the value.
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        if (text.size() > int(def.maximum))
            return {Rejected(ValueOutOfRange)};
    } else {
        if (!IsNumberText(text))
            return {Rejected(ValueOutOfRange)};
        QString number = text.trimmed();
        number.replace(QLatin1Char(','), QLatin1Char('.'));
        const float v = ToSingle(LeadingReal(number));
        if (std::isnan(v) || v < def.minimum || v > def.maximum)
            return {Rejected(ValueOutOfRange)};
        text = number;
    }
    if (!StoreValue(m_state.Document().Image(), *p, text))
        return {Rejected(InternalError)};
    return {command};
}

SimReply CommandHandler::WriteLevel(const QByteArray&, const QList<QByteArray>& args, const QByteArray& command)
{
    if (args.size() != 3)
        return {Rejected(InvalidCommand)};
    const std::optional<uint32_t> number = Decimal(args[1], 3);
    const std::optional<uint32_t> level = Decimal(args[2], 3);
    if (args[0].size() != 2 || !number || !level)
        return {Rejected(InvalidCommand)};
    if (!m_state.EnterProgramMode())
        return {Rejected(MustBeInProgramMode)};
    DBParam* p = m_state.FindProgramCode(QString::fromLatin1(args[0]), int(*number));
    if (!p)
        return {Rejected(ProgramCodeNotUsed)};
    if (!p->def->HasSecurityLevel())
        return {Rejected(OperationNotAllowed)};
    if (*level < 1 || *level > 3)
        return {Rejected(ValueOutOfRange)};
    m_state.Document().SetSecurityLevel(*p, uint8_t(*level));
    return {command};
}

SimReply CommandHandler::Status(const QByteArray&, const QList<QByteArray>& args, const QByteArray&)
{
    if (!args.isEmpty())
        return {Rejected(InvalidCommand)};
    return {m_state.Flags().Query()};
}

SimReply CommandHandler::StatusCodes(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command)
{
    if (code == "RS") {
        if (!args.isEmpty())
            return {Rejected(InvalidCommand)};
        QByteArray reply = "RS";
        for (const QString& name : m_state.Flags().SetNames())
            reply += ' ' + name.toLatin1();
        return {reply};
    }
    if (code == "RR")
        return {args.isEmpty() ? QByteArray("RR 01") : Rejected(InvalidCommand)};
    // "EA dd" and "RA dd": the alarms of a directory; the simulated device has none active.
    if (args.size() != 1 || !Decimal(args[0], 2))
        return {Rejected(InvalidCommand)};
    return {code == "EA" ? command + " 00000000" : command};
}

SimReply CommandHandler::Firmware(const QByteArray&, const QList<QByteArray>& args, const QByteArray&)
{
    if (!args.isEmpty())
        return {Rejected(InvalidCommand)};
    return {"GP " + QByteArray::number(m_state.FirmwareCrc(), 16).toUpper().rightJustified(8, '0')};
}

SimReply CommandHandler::LogOff(const QByteArray&, const QList<QByteArray>& args, const QByteArray& command)
{
    if (!args.isEmpty())
        return {Rejected(InvalidCommand)};
    if (!m_state.InProgramMode())
        return {Rejected(NotInProgramMode)};
    m_state.LeaveProgramMode();
    return {command};
}

SimReply CommandHandler::LogLatest(const QByteArray& code, const QList<QByteArray>& args, const QByteArray&)
{
    if (!args.isEmpty())
        return {Rejected(InvalidCommand)};
    const uint32_t latest = code == "ES" ? m_state.Logs().EventCount() : m_state.Logs().AuditCount();
    return {code + Padded(latest > 0 ? 1 : 0, 4) + ' ' + Padded(latest, 4)};
}

SimReply CommandHandler::LogEntry(const QByteArray& code, const QList<QByteArray>& args, const QByteArray&)
{
    const std::optional<uint32_t> n = args.size() == 1 ? Decimal(args[0]) : std::nullopt;
    if (!n)
        return {Rejected(InvalidCommand)};
    const std::optional<QByteArray> entry = code == "ER" ? m_state.Logs().Event(*n) : m_state.Logs().Audit(*n);
    if (!entry)
        return {Rejected(DataNotAvailable)};
    return {code + Padded(*n, 4) + ' ' + *entry};
}

SimReply CommandHandler::TransactionLatest(const QByteArray&, const QList<QByteArray>& args, const QByteArray&)
{
    if (!args.isEmpty())
        return {Rejected(InvalidCommand)};
    if (!m_state.Logs().LatestTransactionNumber())
        return {Rejected(NoTransactionEverDone)};
    return {"TS " + Padded(m_state.Logs().NextTransactionNumber(), 4)};
}

std::optional<uint64_t> CommandHandler::TransactionArgument(const QList<QByteArray>& args, qsizetype index,
                                                            int* rejection) const
{
    const DeviceLogs& logs = m_state.Logs();
    if (!logs.LatestTransactionNumber()) {
        *rejection = NoTransactionEverDone;
        return std::nullopt;
    }
    if (index >= args.size())
        return logs.TransactionsDone();
    const std::optional<uint32_t> n = index == args.size() - 1 ? Decimal(args[index], 4) : std::nullopt;
    if (!n) {
        *rejection = InvalidCommand;
        return std::nullopt;
    }
    const std::optional<uint64_t> sequence = logs.TransactionSequence(*n);
    if (!sequence)
        *rejection = DataNotAvailable;
    return sequence;
}

SimReply CommandHandler::TransactionEntry(const QByteArray& code, const QList<QByteArray>& args, const QByteArray&)
{
    if (args.size() != 1)
        return {Rejected(InvalidCommand)};
    int rejection = InvalidCommand;
    const std::optional<uint64_t> sequence = TransactionArgument(args, 0, &rejection);
    if (!sequence)
        return {Rejected(rejection)};
    const DeviceLogs& logs = m_state.Logs();
    if (code == "TR")
        return {"TR " + logs.TransactionRecord(*sequence)};
    return {"TU " + Padded(DeviceLogs::NumberOf(*sequence), 4) + " USER: " + logs.TransactionUserData(*sequence)};
}

SimReply CommandHandler::TransactionData(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command)
{
    // The commands' own arguments come first; a trailing transaction number is optional.
    //   AT x [nnn]   LT/LP/LD R | yy [nnn]   RL [nnn]   RT t [rr] [nnn]   TN [nnn]
    qsizetype own = 0;
    if (code == "AT" || code == "LT" || code == "LP" || code == "LD")
        own = 1;
    else if (code == "RT")
        own = args.size() >= 3 ? 2 : 1;
    if (args.size() < own || args.size() > own + 1)
        return {Rejected(InvalidCommand)};
    int rejection = InvalidCommand;
    const std::optional<uint64_t> sequence = TransactionArgument(args, own, &rejection);
    if (!sequence)
        return {Rejected(rejection)};
    const uint64_t s = *sequence;
    QByteArray value;
    if (code == "AT")
        value = QByteArray::number(double(DeviceLogs::GrossTenths(s)) / 2000.0, 'f', 1).rightJustified(8, '0');
    else if (code == "LT")
        value = QByteArray::number(55.0 + double(s % 300) / 10.0, 'f', 1).rightJustified(6, '0');
    else if (code == "LP")
        value = QByteArray::number(20.0 + double(s % 50) / 10.0, 'f', 1).rightJustified(6, '0');
    else if (code == "LD")
        value = QByteArray::number(0.72 + double(s % 40) / 1000.0, 'f', 4);
    else if (code == "RL")
        value = Padded(1u << (s % 4), 4);
    else if (code == "RT")
        value = QByteArray::number(double(DeviceLogs::GrossTenths(s)) / 10.0, 'f', 1).rightJustified(8, '0');
    else
        value = Padded(DeviceLogs::NumberOf(s), 4) + ' '
            + DeviceLogs::StampOf(s, 29).toString(QStringLiteral("MM/dd/yy HH:mm:ss")).toLatin1();
    return {command + ' ' + value};
}

SimReply CommandHandler::PrintReport(const QByteArray& code, const QList<QByteArray>& args, const QByteArray&)
{
    if (args.size() > 1)
        return {Rejected(InvalidCommand)};
    int rejection = InvalidCommand;
    const std::optional<uint64_t> sequence = TransactionArgument(args, 0, &rejection);
    if (!sequence)
        return {Rejected(rejection)};
    SimReply reply{code + ' ' + Padded(DeviceLogs::NumberOf(*sequence), 4)};
    if (code == "PT") {
        // The report goes to the host after the reply, ended by a form feed and a line end.
        reply.trailer = m_state.Logs().TransactionReport(*sequence);
        reply.trailer += FrameFormat::kFormFeed;
        reply.trailer += "\r\n";
    }
    return reply;
}

SimReply CommandHandler::GetDate(const QByteArray&, const QList<QByteArray>& args, const QByteArray&)
{
    if (!args.isEmpty())
        return {Rejected(InvalidCommand)};
    return {"GD " + m_state.Now().toString(QStringLiteral("MM/dd/yyyy HH:mm:ss")).toLatin1()};
}

SimReply CommandHandler::SetDate(const QByteArray&, const QList<QByteArray>& args, const QByteArray& command)
{
    // "SD mmddyyyy hhMM a" with a = A (before noon), P (after noon) or M (24-hour clock).
    if (args.size() != 3 || args[0].size() != 8 || args[1].size() != 4 || args[2].size() != 1)
        return {Rejected(InvalidCommand)};
    const std::optional<uint32_t> date = Decimal(args[0], 8);
    const std::optional<uint32_t> time = Decimal(args[1], 4);
    const char half = args[2][0];
    if (!date || !time || (half != 'A' && half != 'P' && half != 'M'))
        return {Rejected(InvalidCommand)};
    const QDate d(int(*date % 10000), int(*date / 1000000), int(*date / 10000 % 100));
    int hour = int(*time / 100);
    const int minute = int(*time % 100);
    if (half != 'M') {
        if (hour < 1 || hour > 12)
            return {Rejected(ValueOutOfRange)};
        hour = hour % 12 + (half == 'P' ? 12 : 0);
    }
    const QTime t(hour, minute);
    if (!d.isValid() || !t.isValid())
        return {Rejected(ValueOutOfRange)};
    m_state.SetClock(QDateTime(d, t));
    return {command};
}

SimReply CommandHandler::RamExecutive(const QByteArray&, const QList<QByteArray>& args, const QByteArray& command)
{
    if (!args.isEmpty())
        return {Rejected(InvalidCommand)};
    // The reply still goes out; from then on the RAM executive answers nothing.
    m_state.StartRamExecutive();
    return {command};
}

SimReply CommandHandler::UserRegister(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command)
{
    // "BR x yyy" and "BW x yyy d..d"; x = B, F, T, S (and A for writes: an alarm).
    if (args.size() < 2 || args[0].size() != 1)
        return {Rejected(InvalidCommand)};
    const char kind = args[0][0];
    const std::optional<uint32_t> reg = Decimal(args[1], 3);
    const bool knownKind = kind == 'B' || kind == 'F' || kind == 'T' || kind == 'S' || (kind == 'A' && code == "BW");
    if (!reg || !knownKind)
        return {Rejected(InvalidCommand)};
    if (code == "BR") {
        if (args.size() != 2)
            return {Rejected(InvalidCommand)};
        return {command + ' ' + m_state.UserRegister(kind, int(*reg))};
    }
    if (args.size() < 3)
        return {Rejected(InvalidCommand)};
    QByteArray data = command.mid(command.indexOf(args[1], 4) + args[1].size()).trimmed();
    if (kind == 'B' && data != "0" && data != "1")
        return {Rejected(ValueOutOfRange)};
    if (kind == 'F') {
        bool ok = false;
        data.toDouble(&ok);
        if (!ok)
            return {Rejected(ValueOutOfRange)};
    }
    if (data.size() > 64)
        return {Rejected(ValueOutOfRange)};
    m_state.SetUserRegister(kind, int(*reg), data);
    return {command};
}

SimReply CommandHandler::ResetFlag(const QByteArray&, const QList<QByteArray>& args, const QByteArray& command)
{
    if (args.size() != 1)
        return {Rejected(InvalidCommand)};
    const std::optional<int> flag = StatusFlags::Find(QString::fromLatin1(args[0]));
    if (!flag || args[0] != args[0].toUpper())
        return {Rejected(ValueOutOfRange)};
    m_state.Flags().Set(*flag, false);
    return {command};
}

SimReply CommandHandler::OutputRelay(const QByteArray&, const QList<QByteArray>& args, const QByteArray& command)
{
    if (args.size() != 2 || !Decimal(args[0], 2))
        return {Rejected(InvalidCommand)};
    if (args[1] != "0" && args[1] != "1")
        return {Rejected(ValueOutOfRange)};
    return {command};
}

SimReply CommandHandler::Measurement(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command)
{
    if (code == "FL" || code == "RQ" || code == "PF") {
        if (!args.isEmpty())
            return {Rejected(InvalidCommand)};
        if (code == "FL")
            return {"FL " + Padded(m_state.NextPulseCount(), 10)};
        if (code == "RQ")
            return {"RQ 0000.0"};
        return {"PF " + m_state.Now().addDays(-3).toString(QStringLiteral("MM/dd/yy HH:mm:ss")).toLatin1()};
    }
    if (args.isEmpty())
        return {Rejected(InvalidCommand)};
    if (code == "RD") {
        if (args.size() != 1 || (args[0] != "T" && args[0] != "P" && args[0] != "D"))
            return {Rejected(InvalidCommand)};
        const char* value = args[0] == "T" ? "0060.5" : args[0] == "P" ? "0025.0" : "0.7450";
        return {command + ' ' + value};
    }
    if (code == "VT") {
        if (args.size() > 2)
            return {Rejected(InvalidCommand)};
        return {command + ' ' + Padded(m_state.Logs().TransactionsDone() * 1000 + 12345, 10)};
    }
    // "DY xxyy": one dynamic display item.
    if (args.size() != 1 || !Decimal(args[0], 4) || args[0].size() != 4)
        return {Rejected(InvalidCommand)};
    return {command + " 000000.0"};
}

SimReply CommandHandler::Forwarded(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command)
{
    // "IC cmd" / "MC cmd" pass a command to a smart injector or mass meter; "IR" / "MR" fetch
    // its answer, which the simulated devices give as an acknowledgement of the last command.
    QByteArray& last = (code == "IC" || code == "IR") ? m_state.lastInjectorCommand : m_state.lastMeterCommand;
    if (code == "IC" || code == "MC") {
        if (args.isEmpty())
            return {Rejected(InvalidCommand)};
        last = command.mid(3).trimmed();
        return {command};
    }
    if (!args.isEmpty())
        return {Rejected(InvalidCommand)};
    if (last.isEmpty())
        return {Rejected(DataNotAvailable)};
    return {code + " ACK " + last};
}

SimReply CommandHandler::Echo(const QByteArray&, const QList<QByteArray>&, const QByteArray& command)
{
    return {command};
}
