// Opening, configuring and sharing serial lines. The table is process-wide; a mutex keeps it
// consistent should ports ever be made from more than one thread.
#include "LineTable.h"

#include <QFileInfo>
#include <QSerialPort>
#include <map>
#include <mutex>

namespace {

std::mutex& TableMutex()
{
    static std::mutex m;
    return m;
}

std::map<QString, std::unique_ptr<LineTable::Line>>& Table()
{
    static std::map<QString, std::unique_ptr<LineTable::Line>> table;
    return table;
}

QSerialPort::Parity QtParity(uint8_t parity)
{
    switch (parity) {
    case LineSettings::OddParity: return QSerialPort::OddParity;
    case LineSettings::EvenParity: return QSerialPort::EvenParity;
    case LineSettings::MarkParity: return QSerialPort::MarkParity;
    case LineSettings::SpaceParity: return QSerialPort::SpaceParity;
    default: return QSerialPort::NoParity;
    }
}

QSerialPort::StopBits QtStopBits(uint8_t stopBits)
{
    switch (stopBits) {
    case LineSettings::OneAndHalfStop: return QSerialPort::OneAndHalfStop;
    case LineSettings::TwoStop: return QSerialPort::TwoStop;
    default: return QSerialPort::OneStop;
    }
}

// Runs one setter; a refusal becomes a warning, the line keeps going.
template <typename Setter>
void Configure(QSerialPort& port, QStringList& warnings, const QString& what, Setter setter)
{
    if (!setter()) {
        warnings << QStringLiteral("%1 refused: %2").arg(what, port.errorString());
        port.clearError();
    }
}

std::unique_ptr<LineTable::Line> OpenLine(const QString& key, const LineSettings& settings, QString* errorText)
{
    auto line = std::make_unique<LineTable::Line>();
    line->key = key;
    line->settings = settings;
    line->port = std::make_unique<QSerialPort>();
    QSerialPort& port = *line->port;
    port.setPortName(key);
    if (!port.open(QIODevice::ReadWrite)) {
        if (errorText)
            *errorText = port.errorString();
        return nullptr;
    }
    port.clear(QSerialPort::AllDirections);
    // A line that cannot run at its baud rate cannot talk to the device at all; the framing
    // details below are refused by some devices (a pseudo-terminal keeps 8 data bits, no
    // parity and has no modem lines) that still carry the bytes.
    if (!port.setBaudRate(qint32(settings.baudRate))) {
        if (errorText)
            *errorText = port.errorString();
        port.close();
        return nullptr;
    }
    QStringList& w = line->warnings;
    Configure(port, w, QStringLiteral("%1 data bits").arg(settings.dataBits),
              [&] { return port.setDataBits(QSerialPort::DataBits(settings.dataBits)); });
    Configure(port, w, QStringLiteral("Parity %1").arg(QChar::fromLatin1(settings.ParityLetter())),
              [&] { return port.setParity(QtParity(settings.parity)); });
    Configure(port, w, QStringLiteral("Stop bits"), [&] { return port.setStopBits(QtStopBits(settings.stopBits)); });
    Configure(port, w, QStringLiteral("Flow control off"),
              [&] { return port.setFlowControl(QSerialPort::NoFlowControl); });
    Configure(port, w, QStringLiteral("DTR on"), [&] { return port.setDataTerminalReady(true); });
    Configure(port, w, QStringLiteral("RTS on"), [&] { return port.setRequestToSend(true); });
    port.clear(QSerialPort::AllDirections);
    port.clearError();
    line->readTimeoutMs = LineSettings::ReadTimeoutMs(settings.BaudIndex());
    return line;
}

} // namespace

QString LineTable::KeyFor(const QString& deviceName)
{
#ifdef Q_OS_WIN
    const QFileInfo info(deviceName);
#else
    // A bare name such as "ttyUSB0" means the device under /dev, as QSerialPort reads it.
    const QFileInfo info(deviceName.contains(u'/') ? deviceName : QStringLiteral("/dev/") + deviceName);
#endif
    if (info.isAbsolute() && info.exists())
        return info.canonicalFilePath();
    return deviceName;
}

LineTable::Line* LineTable::Acquire(const QString& deviceName, const LineSettings& settings, QString* errorText)
{
    const QString key = KeyFor(deviceName);
    std::lock_guard<std::mutex> lock(TableMutex());
    auto& table = Table();
    auto it = table.find(key);
    if (it == table.end()) {
        std::unique_ptr<Line> line = OpenLine(key, settings, errorText);
        if (!line)
            return nullptr;
        it = table.emplace(key, std::move(line)).first;
    }
    ++it->second->uses;
    return it->second.get();
}

void LineTable::Release(Line* line)
{
    if (!line)
        return;
    std::lock_guard<std::mutex> lock(TableMutex());
    auto& table = Table();
    auto it = table.find(line->key);
    if (it == table.end() || it->second.get() != line)
        return;
    if (--line->uses <= 0) {
        line->port->close();
        table.erase(it);
    }
}

int LineTable::UseCount(const QString& deviceName)
{
    const QString key = KeyFor(deviceName);
    std::lock_guard<std::mutex> lock(TableMutex());
    const auto& table = Table();
    const auto it = table.find(key);
    return it == table.end() ? 0 : it->second->uses;
}
