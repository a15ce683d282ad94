// The simulator's command line (see SimOptions.h).
#include "SimOptions.h"

#include "FirmwareTable.h"

#include <QCommandLineParser>
#include <QHostAddress>
#include <QRegularExpression>

namespace {

// The revision of a firmware table row as a user writes it: "0.10".
QString RevisionText(const FirmwareTable::Row& row)
{
    return QString::asprintf("%.2f", double(row.revision));
}

QString ReleaseList()
{
    QStringList list;
    for (const FirmwareTable::Row& row : FirmwareTable::Rows()) {
        if (row.crc != 0)
            list << RevisionText(row);
    }
    return list.join(QStringLiteral(", "));
}

// A revision of the firmware table, or eight hexadecimal digits for a checksum of its own.
bool ParseFirmware(const QString& text, uint32_t* crc)
{
    for (const FirmwareTable::Row& row : FirmwareTable::Rows()) {
        if (row.crc != 0 && text == RevisionText(row)) {
            *crc = row.crc;
            return true;
        }
    }
    if (text.size() != 8)
        return false;
    bool ok = false;
    const uint32_t value = text.toUInt(&ok, 16);
    if (!ok)
        return false;
    *crc = value;
    return true;
}

bool ParseCount(const QString& text, uint64_t max, uint64_t* value)
{
    bool ok = false;
    const qulonglong v = text.toULongLong(&ok);
    if (!ok || v > max)
        return false;
    *value = v;
    return true;
}

} // namespace

QString SimOptions::HelpText()
{
    return QStringLiteral(
               "Usage: quarrant-devsim [OPTIONS]\n"
               "\n"
               "Simulates one liquid-loading flow controller: its command protocol over TCP/IP and/or a\n"
               "serial line (a pseudo-terminal), its configuration, program mode, logs, status flags and\n"
               "firmware checksum, with optional latency, line-speed pacing and line faults.\n"
               "Prints \"ready tcp=ADDR:PORT pty=PATH ftp=ADDR:PORT\" (the parts asked for) once it listens; stops on\n"
               "SIGTERM or SIGINT.\n"
               "\n"
               "Where it listens (without --tcp and --pty: --tcp 127.0.0.1):\n"
               "  --tcp ADDR            TCP/IP command port on this loopback address (127.x.y.z);\n"
               "                        Terminal framing, every unit address answered.\n"
               "  --tcp-port N          TCP port (default 7734; 0 picks a free port, shown in the ready line).\n"
               "  --pty PATH            Serial line on a pseudo-terminal; PATH becomes a symbolic link to\n"
               "                        the device to open. The line is raw, 8 bits.\n"
               "  --framing KIND        Serial framing: terminal or mini (default mini, as a port without\n"
               "                        settings is used).\n"
               "  --unit N              Unit address 0..99 (default 1); the serial line answers only\n"
               "                        frames for it.\n"
               "\n"
               "The device:\n"
               "  --state FILE.qcf      Start from this configuration (codes it lacks keep factory\n"
               "                        defaults: numbers at their minimum, options 0, named texts,\n"
               "                        security levels 1 to 3).\n"
               "  --state-out FILE.qcf  Write the configuration there when stopped.\n"
               "  --locked              Refuse program-mode access (writes are rejected with NO24).\n"
               "  --firmware REV        Firmware whose checksum \"GP\" reports: %1\n"
               "                        (default 0.10), or 8 hexadecimal digits for an unknown release.\n"
               "  --flags LIST          Condition flags reported by \"EQ\", comma separated: NAME (set),\n"
               "                        NAME:N (set, clears after N status replies), !NAME:N (clear, set\n"
               "                        after N status replies). Names: %2.\n"
               "  --events N            Event log entries 1..N (default 40, at most 9999).\n"
               "  --audits N            Audit log entries 1..N (default 20, at most 9999).\n"
               "  --transactions N      Completed transactions (default 30). Numbers run 1..9999 and\n"
               "                        wrap; the last 9998 are kept.\n"
               "\n"
               "The line:\n"
               "  --latency-ms N        Wait N ms before each reply.\n"
               "  --baud N              Pace output at N baud (10 bits a character).\n"
               "  --fault KIND[=N]      Inject a fault into every Nth exchange (default every one);\n"
               "                        repeatable. KIND: drop (no reply), noise (junk before the reply),\n"
               "                        bad-check (wrong check byte; Terminal: no carriage return),\n"
               "                        truncate (half a reply), disconnect (drop the connection; the\n"
               "                        pseudo-terminal is made anew under the same path).\n"
               "\n"
               "The device's FTP server (firmware upgrades, definition files):\n"
               "  --ftp-port N          Start it on this port of the TCP address (0 picks a free port,\n"
               "                        shown as ftp=ADDR:PORT in the ready line).\n"
               "  --ftp-root DIR        Its file system: CONFIG/ for user Quarrant, firmware/ for user\n"
               "                        Corvantix (default: a temporary folder).\n"
               "  --access-code CODE    Password of both users (default 1234).\n"
               "  --ftp-script PATH     The FTP launcher to run (default: scripts/ftpserver.py of the\n"
               "                        source tree).\n"
               "  --verbose             Log every exchange on stderr.\n"
               "  -h, --help            Show this help.\n")
        .arg(ReleaseList(), QStringList(StatusFlags::Names().begin(), StatusFlags::Names().end()).join(QLatin1Char(' ')));
}

SimOptions::Outcome SimOptions::Parse(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption tcp(QStringLiteral("tcp"), QString(), QStringLiteral("ADDR"));
    const QCommandLineOption tcpPortOption(QStringLiteral("tcp-port"), QString(), QStringLiteral("N"));
    const QCommandLineOption pty(QStringLiteral("pty"), QString(), QStringLiteral("PATH"));
    const QCommandLineOption framingOption(QStringLiteral("framing"), QString(), QStringLiteral("KIND"));
    const QCommandLineOption unitOption(QStringLiteral("unit"), QString(), QStringLiteral("N"));
    const QCommandLineOption state(QStringLiteral("state"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption stateOut(QStringLiteral("state-out"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption lockedOption(QStringLiteral("locked"));
    const QCommandLineOption firmware(QStringLiteral("firmware"), QString(), QStringLiteral("REV"));
    const QCommandLineOption flagsOption(QStringLiteral("flags"), QString(), QStringLiteral("LIST"));
    const QCommandLineOption eventsOption(QStringLiteral("events"), QString(), QStringLiteral("N"));
    const QCommandLineOption auditsOption(QStringLiteral("audits"), QString(), QStringLiteral("N"));
    const QCommandLineOption transactionsOption(QStringLiteral("transactions"), QString(), QStringLiteral("N"));
    const QCommandLineOption latency(QStringLiteral("latency-ms"), QString(), QStringLiteral("N"));
    const QCommandLineOption baudOption(QStringLiteral("baud"), QString(), QStringLiteral("N"));
    const QCommandLineOption fault(QStringLiteral("fault"), QString(), QStringLiteral("KIND"));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"));
    const QCommandLineOption ftpPortOption(QStringLiteral("ftp-port"), QString(), QStringLiteral("N"));
    const QCommandLineOption ftpRootOption(QStringLiteral("ftp-root"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption accessCodeOption(QStringLiteral("access-code"), QString(), QStringLiteral("CODE"));
    const QCommandLineOption ftpScriptOption(QStringLiteral("ftp-script"), QString(), QStringLiteral("PATH"));
    parser.addOptions({ftpPortOption, ftpRootOption, accessCodeOption, ftpScriptOption});
    parser.addOptions({help, tcp, tcpPortOption, pty, framingOption, unitOption, state, stateOut, lockedOption,
                       firmware, flagsOption, eventsOption, auditsOption, transactionsOption, latency, baudOption,
                       fault, verboseOption});

    auto error = [this](const QString& text) {
        m_message = text;
        return Outcome::Error;
    };
    QStringList full = args;
    full.prepend(QStringLiteral("quarrant-devsim"));
    if (!parser.parse(full))
        return error(parser.errorText());
    if (parser.isSet(help)) {
        m_message = HelpText();
        return Outcome::Help;
    }
    if (!parser.positionalArguments().isEmpty())
        return error(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().front()));

    tcpAddress = parser.value(tcp);
    ptyPath = parser.value(pty);
    if (tcpAddress.isEmpty() && ptyPath.isEmpty() && !parser.isSet(tcp) && !parser.isSet(pty))
        tcpAddress = QStringLiteral("127.0.0.1");
    if (parser.isSet(tcp)) {
        QHostAddress address;
        if (!address.setAddress(tcpAddress) || address.protocol() != QAbstractSocket::IPv4Protocol
            || (address.toIPv4Address() >> 24) != 127)
            return error(QStringLiteral("--tcp: '%1' is not a loopback address 127.x.y.z").arg(tcpAddress));
        tcpAddress = address.toString();
    }
    if (parser.isSet(pty) && ptyPath.isEmpty())
        return error(QStringLiteral("--pty: a path is needed"));

    uint64_t n = 0;
    if (parser.isSet(tcpPortOption)) {
        if (!ParseCount(parser.value(tcpPortOption), 65535, &n))
            return error(QStringLiteral("--tcp-port: '%1' is not a port number 0..65535").arg(parser.value(tcpPortOption)));
        tcpPort = quint16(n);
    }
    if (parser.isSet(framingOption)) {
        const QString f = parser.value(framingOption);
        if (f == QLatin1String("terminal"))
            framing = ProtocolKind::Terminal;
        else if (f == QLatin1String("mini") || f == QLatin1String("minicomputer"))
            framing = ProtocolKind::Minicomputer;
        else
            return error(QStringLiteral("--framing: '%1' is neither terminal nor mini").arg(f));
    }
    if (parser.isSet(unitOption)) {
        if (!ParseCount(parser.value(unitOption), FrameFormat::kMaxUnitAddress, &n))
            return error(QStringLiteral("--unit: '%1' is not an address 0..99").arg(parser.value(unitOption)));
        unit = int(n);
    }
    statePath = parser.value(state);
    stateOutPath = parser.value(stateOut);
    locked = parser.isSet(lockedOption);

    firmwareText = parser.isSet(firmware) ? parser.value(firmware) : QStringLiteral("0.10");
    if (!ParseFirmware(firmwareText, &firmwareCrc))
        return error(QStringLiteral("--firmware: '%1' is neither a known release (%2) nor 8 hexadecimal digits")
                         .arg(firmwareText, ReleaseList()));

    for (const QString& list : parser.values(flagsOption)) {
        for (const QString& item : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            FlagScript script;
            QString text;
            if (!StatusFlags::ParseScript(item, &script, &text))
                return error(QStringLiteral("--flags: ") + text);
            flags.push_back(script);
        }
    }

    struct CountOption {
        const QCommandLineOption* option;
        uint64_t max;
        uint64_t* target;
    };
    uint64_t eventCount = events, auditCount = audits, transactionCount = transactions;
    uint64_t latencyValue = uint64_t(latencyMs), baudValue = uint64_t(baud);
    const CountOption counts[] = {
        {&eventsOption, 9999, &eventCount},
        {&auditsOption, 9999, &auditCount},
        {&transactionsOption, 100000000, &transactionCount},
        {&latency, 600000, &latencyValue},
        {&baudOption, 10000000, &baudValue},
    };
    for (const CountOption& c : counts) {
        if (!parser.isSet(*c.option))
            continue;
        if (!ParseCount(parser.value(*c.option), c.max, c.target))
            return error(QStringLiteral("--%1: '%2' is not a whole number 0..%3")
                             .arg(c.option->names().front(), parser.value(*c.option))
                             .arg(c.max));
    }
    events = uint32_t(eventCount);
    audits = uint32_t(auditCount);
    transactions = uint32_t(transactionCount);
    latencyMs = int(latencyValue);
    baud = int(baudValue);

    for (const QString& text : parser.values(fault)) {
        FaultRule rule;
        QString why;
        if (!FaultInjector::ParseRule(text, &rule, &why))
            return error(QStringLiteral("--fault: ") + why);
        faults.push_back(rule);
    }
    verbose = parser.isSet(verboseOption);

    if (parser.isSet(ftpPortOption)) {
        if (!ParseCount(parser.value(ftpPortOption), 65535, &n))
            return error(QStringLiteral("--ftp-port: '%1' is not a port number 0..65535").arg(parser.value(ftpPortOption)));
        ftpPort = int(n);
    }
    ftpRoot = parser.value(ftpRootOption);
    ftpScript = parser.value(ftpScriptOption);
    if (parser.isSet(accessCodeOption)) {
        accessCode = parser.value(accessCodeOption);
        // The code is a password on the FTP command line: no blanks or line ends in it.
        if (accessCode.isEmpty() || accessCode.contains(QRegularExpression(QStringLiteral("[\\s\\x00-\\x1f]"))))
            return error(QStringLiteral("--access-code: a code without blanks or control characters is needed"));
    }
    if (ftpPort < 0 && (parser.isSet(ftpRootOption) || parser.isSet(ftpScriptOption)))
        return error(QStringLiteral("--ftp-root and --ftp-script need --ftp-port"));
    return Outcome::Run;
}
