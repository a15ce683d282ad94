// Reading and writing the "Comm" settings, and the port settings dialog's choices.
#include "CommSettings.h"

#include <QSettings>

namespace {

const uint32_t kDialogRates[] = {1200, 2400, 4800, 9600, 19200, 38400};
constexpr int kDialogRateCount = int(std::size(kDialogRates));

// The settings of this application, opened on the "Comm" section.
class CommGroup {
public:
    CommGroup() : m_settings(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid"))
    {
        m_settings.beginGroup(QStringLiteral("Comm"));
    }
    QSettings* operator->() { return &m_settings; }

private:
    QSettings m_settings;
};

} // namespace

QString CommSettings::PortName(int portNumber)
{
    return QStringLiteral("COM%1").arg(portNumber);
}

QString CommSettings::ReadModeText(int portNumber, const QString& defaultText)
{
    return CommGroup()->value(PortName(portNumber), defaultText).toString();
}

LineSettings CommSettings::ReadLineSettings(int portNumber, const QString& defaultText)
{
    LineSettings settings;
    settings.ApplyModeText(ReadModeText(portNumber, defaultText));
    return settings;
}

int CommSettings::ReadProtocolKind(int portNumber)
{
    bool ok = false;
    const int kind = CommGroup()->value(PortName(portNumber) + QStringLiteral("_Protocol"), kDefaultProtocolKind).toInt(&ok);
    return ok ? kind : kDefaultProtocolKind;
}

void CommSettings::WriteModeText(int portNumber, const LineSettings& settings)
{
    CommGroup()->setValue(PortName(portNumber), settings.ModeText());
}

void CommSettings::WriteProtocolKind(int portNumber, int kind)
{
    CommGroup()->setValue(PortName(portNumber) + QStringLiteral("_Protocol"), kind);
}

QString CommSettings::DeviceName(int portNumber)
{
#ifdef Q_OS_WIN
    const QString fallback = PortName(portNumber);
#else
    const QString fallback = QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
    return CommGroup()->value(PortName(portNumber) + QStringLiteral("_Device"), fallback).toString();
}

void CommSettings::WriteDeviceName(int portNumber, const QString& deviceName)
{
    CommGroup()->setValue(PortName(portNumber) + QStringLiteral("_Device"), deviceName);
}

QStringList CommSettings::BaudRateChoices()
{
    QStringList list;
    for (uint32_t rate : kDialogRates)
        list << QString::number(rate);
    return list;
}

QStringList CommSettings::DataParityChoices()
{
    return {QStringLiteral("7/None"), QStringLiteral("7/Odd"), QStringLiteral("7/Even"), QStringLiteral("8/None"),
            QStringLiteral("8/Odd"),  QStringLiteral("8/Even"), QStringLiteral("8/None/2 Stop")};
}

QStringList CommSettings::ProtocolChoices()
{
    return {QStringLiteral("Terminal"), QStringLiteral("Minicomputer")};
}

int CommSettings::BaudChoiceIndex(const LineSettings& settings)
{
    for (int i = 0; i < kDialogRateCount - 1; ++i) {
        if (kDialogRates[i] == settings.baudRate)
            return i;
    }
    return kDialogRateCount - 1;
}

int CommSettings::DataParityChoiceIndex(const LineSettings& settings)
{
    if (settings.dataBits == 8 && settings.parity == LineSettings::NoParity && settings.stopBits == LineSettings::TwoStop)
        return 6;
    int index = settings.dataBits == 8 ? 3 : 0;
    if (settings.parity == LineSettings::OddParity)
        index += 1;
    else if (settings.parity == LineSettings::EvenParity)
        index += 2;
    return index;
}

void CommSettings::ApplyChoices(LineSettings& settings, int baudChoice, int dataParityChoice)
{
    settings.baudRate = kDialogRates[qBound(0, baudChoice, kDialogRateCount - 1)];
    settings.dataBits = dataParityChoice <= 2 ? 7 : 8;
    if (dataParityChoice == 1 || dataParityChoice == 4)
        settings.parity = LineSettings::OddParity;
    else if (dataParityChoice == 2 || dataParityChoice == 5)
        settings.parity = LineSettings::EvenParity;
    else
        settings.parity = LineSettings::NoParity;
    settings.stopBits = dataParityChoice == 6 ? LineSettings::TwoStop : LineSettings::OneStop;
}
