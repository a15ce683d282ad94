// The shared part of the device commands (see CliDeviceSession.h).
#include "CliDeviceSession.h"

#include "CommStatusText.h"
#include "CquillTrakDoc.h"
#include "ValueFormat.h"

CliDeviceSession::CliDeviceSession(CliContext& ctx)
    : m_ctx(ctx)
    , m_device(QStringLiteral("device"),
               QStringLiteral("The device: tcp:A.B.C.D[:PORT], comN[:UNIT] or /dev/PATH[:UNIT]."), QStringLiteral("DEV"))
    , m_timeout(QStringLiteral("timeout"),
                QStringLiteral("TCP/IP only: wait at most MS milliseconds for each reply (default 6000)."),
                QStringLiteral("MS"))
    , m_onError(QStringLiteral("on-error"),
                QStringLiteral("Answer to a failed exchange: abort (default), retry (up to 3 times) or ignore."),
                QStringLiteral("POLICY"))
    , m_yes(QStringLiteral("yes"), QStringLiteral("Answer OK to OK/Cancel questions."))
{
    m_ui.SetProgressEnabled(ctx.stderrIsTerminal);
}

void CliDeviceSession::AddOptions(QCommandLineParser& parser)
{
    parser.addOptions({m_device, m_timeout, m_onError, m_yes});
}

bool CliDeviceSession::ReadOptions(const QCommandLineParser& parser, const QString& command, int* exitCode)
{
    auto usage = [&](const QString& text) {
        m_ctx.err << "quarrant " << command << ": " << text << "\n";
        m_ctx.err.flush();
        *exitCode = ExitUsage;
        return false;
    };
    if (!parser.isSet(m_device))
        return usage(QStringLiteral("--device is required"));
    QString error;
    m_address = DeviceAddress::Parse(parser.value(m_device), &error);
    if (!m_address)
        return usage(error);
    if (parser.isSet(m_timeout)) {
        bool ok = false;
        const int ms = parser.value(m_timeout).toInt(&ok);
        if (!ok || ms < 1 || ms > 600000)
            return usage(QStringLiteral("--timeout must be a number of milliseconds 1..600000"));
        m_linkOptions.receiveWait = std::chrono::milliseconds(ms);
    }
    if (parser.isSet(m_onError)) {
        const QString policy = parser.value(m_onError);
        if (policy == QLatin1String("abort"))
            m_ui.SetErrorPolicy(ConsoleUserInterface::ErrorPolicy::Abort);
        else if (policy == QLatin1String("retry"))
            m_ui.SetErrorPolicy(ConsoleUserInterface::ErrorPolicy::Retry);
        else if (policy == QLatin1String("ignore"))
            m_ui.SetErrorPolicy(ConsoleUserInterface::ErrorPolicy::Ignore);
        else
            return usage(QStringLiteral("--on-error must be abort, retry or ignore"));
    }
    m_ui.SetAssumeYes(parser.isSet(m_yes));
    return true;
}

std::unique_ptr<DeviceConnection> CliDeviceSession::Attach(CquillTrakDoc& doc)
{
    auto connection = std::make_unique<DeviceConnection>(doc, m_ui);
    connection->SetLinkFactory([this](const CquillTrakDoc&) {
        QString error;
        std::unique_ptr<VandtProtocol> link = m_address->MakeProtocol(m_linkOptions, &error);
        if (!link)
            m_ctx.err << "quarrant: " << error << "\n";
        return link;
    });
    return connection;
}

void CliDeviceSession::StoreAddressIn(CquillTrakDoc& doc) const
{
    switch (m_address->AddressKind()) {
    case DeviceAddress::Kind::Tcp:
        doc.port = 0;
        doc.deviceAddress = ParseDottedIp(m_address->Host()).value_or(0);
        break;
    case DeviceAddress::Kind::ComPort:
        doc.port = m_address->PortNumber();
        doc.deviceAddress = uint32_t(m_address->UnitAddress());
        break;
    case DeviceAddress::Kind::DevicePath:
        doc.deviceAddress = uint32_t(m_address->UnitAddress());
        break;
    }
}

QString CliDeviceSession::NotAnsweringText(const DeviceConnection& connection) const
{
    const VandtProtocol* link = connection.Link();
    if (!link)
        return QStringLiteral("%1: no link could be made").arg(m_address->Text());
    QString detail = CommStatusText(link->Status());
    if (!link->Port().LastErrorText().isEmpty())
        detail += QStringLiteral(" (%1)").arg(link->Port().LastErrorText());
    return QStringLiteral("%1 does not answer: %2").arg(m_address->Text(), detail);
}
