// The device's command interpreter: one command text in, one reply text out (the text
// between the address field and the end marks), plus any raw bytes the device sends after
// the framed reply (the report of "PT"). It knows nothing of framing, ports or time, so every
// reply can be checked without a connection.
//
// Reply shapes the host relies on (offsets count characters of the reply text from 0):
//   "PV dd nnn"  -> "PV dd nnn " + value text (value at 10); "XV" alike with the level digit
//   "GP"         -> "GP " + firmware CRC-32 in 8 hexadecimal digits (at 3)
//   "EQ"         -> six status characters (see StatusFlags)
//   "ES", "PS"   -> "ESoooo llll": oldest and latest entry number (latest at 7)
//   "ER n", "PR n" -> "ERnnnn " + entry text (at 7)
//   "TS"         -> "TS " + number of the transaction to come (at 3)
//   "TR n"       -> "TR " + record, which starts with the transaction number (at 3)
//   "TU n"       -> "TU nnnn USER: " + archived user data (at 14)
// A rejection is "NO" and two digits. Commands are case-sensitive, as the device reads them.
#pragma once

#include "DeviceState.h"
#include "SimReply.h"

#include <QByteArray>
#include <QHash>

class CommandHandler {
public:
    // Rejection numbers the device uses.
    enum Rejection {
        InvalidCommand = 0,
        ValueOutOfRange = 3,
        NoTransactionEverDone = 5,
        OperationNotAllowed = 6,
        ProgramCodeNotUsed = 14,
        MustBeInProgramMode = 24,
        DataNotAvailable = 37,
        NotInProgramMode = 94,
        InternalError = 99,
    };

    explicit CommandHandler(DeviceState& state);

    SimReply Handle(const QByteArray& command);

    static QByteArray Rejected(int number);

private:
    using Handler = SimReply (CommandHandler::*)(const QByteArray& code, const QList<QByteArray>& args,
                                                 const QByteArray& command);

    SimReply ReadValue(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply WriteValue(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply WriteLevel(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply Status(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply StatusCodes(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply Firmware(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply LogOff(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply LogLatest(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply LogEntry(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply TransactionLatest(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply TransactionEntry(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply TransactionData(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply PrintReport(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply GetDate(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply SetDate(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply RamExecutive(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply UserRegister(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply ResetFlag(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply OutputRelay(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply Measurement(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply Forwarded(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);
    SimReply Echo(const QByteArray& code, const QList<QByteArray>& args, const QByteArray& command);

    // The archived transaction an optional trailing number names (the latest without one);
    // sets *rejection when there is none.
    std::optional<uint64_t> TransactionArgument(const QList<QByteArray>& args, qsizetype index, int* rejection) const;

    DeviceState& m_state;
    QHash<QByteArray, Handler> m_handlers;
};
