// Contacting, identifying and probing the device (see DeviceConnection.h).
#include "DeviceConnection.h"

#include "ConnectionStateText.h"
#include "CquillTrakDoc.h"
#include "FirmwareTable.h"
#include "MakeProtocol.h"
#include "UserInterface.h"
#include "WaitCursor.h"

#include <cmath>

namespace {

const char kIdentifyCommand[] = "PV SY 111";
// The identify reply's echo; the value starts right after it (offset 10).
const char kIdentifyEcho[] = "PV SY 111 ";
constexpr int kValueOffset = 10;
constexpr int kRevisionOffset = 3;
constexpr float kApplicationRevision = 0.1f;

} // namespace

DeviceConnection::DeviceConnection(CquillTrakDoc& doc, UserInterface& ui)
    : m_doc(doc)
    , m_ui(ui)
{
    m_doc.SetConnectHook([this](CquillTrakDoc&) {
        // A new or freshly loaded document reaches its device through its own settings.
        m_link.reset();
        Connect(true);
    });
    m_doc.SetLogOffHook([this](CquillTrakDoc&) { LogOff(); });
}

DeviceConnection::~DeviceConnection()
{
    m_doc.SetConnectHook(nullptr);
    m_doc.SetLogOffHook(nullptr);
}

std::unique_ptr<VandtProtocol> DeviceConnection::MakeLink() const
{
    if (m_factory)
        return m_factory(m_doc);
    return MakeProtocol(m_doc.port, m_doc.deviceAddress);
}

void DeviceConnection::SetState(int state)
{
    m_doc.connectionState = state;
    m_ui.SetStatusText(kStatePane, StateText());
    m_ui.SetStatusText(kPortPane, PortStatusText());
}

void DeviceConnection::ShowMessage(const QString& text)
{
    m_ui.SetStatusText(kMessagePane, text);
}

QString DeviceConnection::StateText() const
{
    return ConnectionStateText(m_doc.connectionState);
}

QString DeviceConnection::PortStatusText() const
{
    if (!m_link)
        return QString();
    return m_link->Port().StatusText(m_link->UnitAddress());
}

QByteArray DeviceConnection::ProbeCommand(const QByteArray& identifyReply)
{
    if (identifyReply.size() <= kValueOffset || !identifyReply.startsWith(kIdentifyEcho)
        || identifyReply[kValueOffset] == ' ')
        return QByteArray();
    QByteArray probe = identifyReply.left(kValueOffset + 1);
    probe[1] = 'C';
    return probe;
}

int DeviceConnection::Connect(bool probe)
{
    WaitCursor wait(m_ui);
    ShowMessage(QStringLiteral("Attempting to contact Corvantix.net Liquid ..."));

    if (!m_link || !m_link->Port().IsOpen()) {
        m_link.reset();
        m_link = MakeLink();
        if (!m_link) {
            ShowMessage(QStringLiteral("Ready"));
            SetState(CquillTrakDoc::NoLink);
            return m_doc.connectionState;
        }
    }

    if (!m_link->Send(kIdentifyCommand)) {
        ShowMessage(QStringLiteral("Ready"));
        SetState(CquillTrakDoc::Offline);
        return m_doc.connectionState;
    }
    ShowMessage(QStringLiteral("Attempting to contact Corvantix.net Liquid - waiting for reply..."));
    QByteArray identifyReply;
    if (m_link->Receive(identifyReply) != 0) {
        ShowMessage(QStringLiteral("Ready"));
        SetState(CquillTrakDoc::Offline);
        return m_doc.connectionState;
    }
    ShowMessage(QStringLiteral("Ready"));

    if (m_doc.connectionState < CquillTrakDoc::ReadOnly) {
        SetState(CquillTrakDoc::ReadOnly);
        const float r = QueryRevision();
        if (r < 0) {
            m_ui.MessageBox(QStringLiteral("Quarrant Liquid does not recognize this revision of Corvantix.net Liquid. "
                                           "\nVerify Quarrant Liquid is the correct version (Check Help|About)"));
        } else if (std::fabs(r - kApplicationRevision) > 0.001f) {
            m_ui.MessageBox(QString::asprintf("The Corvantix.net Liquid online is an older revision (Rev %.2f). \nNot "
                                              "all Rev %.2f program codes may be supported.",
                                              double(r), double(kApplicationRevision)));
        }
    }

    if (probe) {
        ShowMessage(QStringLiteral("Testing for Program mode access..."));
        const QByteArray command = ProbeCommand(identifyReply);
        QByteArray reply;
        if (!command.isEmpty() && m_link->Send(command) && m_link->Receive(reply) == 0)
            SetState(CquillTrakDoc::Online);
        ShowMessage(QStringLiteral("Ready"));
    }
    return m_doc.connectionState;
}

float DeviceConnection::QueryRevision()
{
    if (!m_link)
        return -1.0f;
    QByteArray reply;
    if (!m_link->Send("GP") || m_link->Receive(reply) != 0)
        return -1.0f;
    const float revision = FirmwareTable::Revision(FirmwareTable::ParseChecksum(reply.mid(kRevisionOffset)));
    if (revision < 0)
        return -1.0f;
    m_doc.deviceRevision = revision;
    m_doc.UpdateAllViews();
    return revision;
}

bool DeviceConnection::LogOff()
{
    // A device that does not answer the identify command gets no log-off either, and a
    // command that did not go out has no reply to wait for: neither costs another time-out.
    if (Connect(false) < CquillTrakDoc::ReadOnly || !m_link || !m_link->Send("LO"))
        return false;
    QByteArray reply;
    return m_link->Receive(reply) == 0;
}

int DeviceConnection::RetryCommunications()
{
    SetState(CquillTrakDoc::Offline);
    return Connect(true);
}

void DeviceConnection::GoOffline()
{
    SetState(CquillTrakDoc::Offline);
}

int DeviceConnection::ApplyOptions(int port, uint32_t deviceAddress)
{
    m_doc.port = port;
    m_doc.deviceAddress = deviceAddress;
    m_link.reset();
    m_factory = nullptr;
    const int state = Connect(true);
    m_doc.SetModifiedFlag(true);
    return state;
}
