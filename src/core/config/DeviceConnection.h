// A configuration document's connection to its device. Owns the document's link (the protocol
// object, which owns its port), contacts and identifies the device, probes program-mode
// access, and keeps the document's connection state and device revision. Attaching to a
// document installs Connect (with the probe) as its File New / file-loading step and LogOff as
// its after-save step; the destructor removes both, so a document never calls into a
// connection that is gone.
//
// Invariants: the document's connection state changes here only (Connect, Go Offline, Retry
// Communications); every change of state is shown in the status panes at once. Every exchange
// runs on the calling thread with the wait cursor and blocks for at most the port's time-outs.
#pragma once

#include "VandtProtocol.h"

#include <QString>
#include <functional>
#include <memory>

class CquillTrakDoc;
class UserInterface;

class DeviceConnection {
public:
    // Status-bar panes (UserInterface::SetStatusText).
    static constexpr int kStatePane = 0;
    static constexpr int kPortPane = 1;
    static constexpr int kMessagePane = 2;

    // Makes a link for the document; nullptr means no protocol could be made.
    using LinkFactory = std::function<std::unique_ptr<VandtProtocol>(const CquillTrakDoc&)>;

    DeviceConnection(CquillTrakDoc& doc, UserInterface& ui);
    ~DeviceConnection();
    DeviceConnection(const DeviceConnection&) = delete;
    DeviceConnection& operator=(const DeviceConnection&) = delete;

    // Contacts the device and returns the new connection state. With probe, also tests for
    // program-mode access by writing program code 111 of "SY" back with its own value.
    int Connect(bool probe);
    // The device's firmware revision from its "GP" checksum, or -1 when the exchange fails or
    // the checksum is not a known release (the stored revision then stays as it was).
    float QueryRevision();
    // Logs the device out of program mode ("LO") after contacting it; true when the device
    // accepted it. Nothing is sent when the device does not answer the contact.
    bool LogOff();

    // Retry Communications: Offline first (so the device is identified again), then Connect
    // with the probe.
    int RetryCommunications();
    // Go Offline: the state becomes Offline; the link stays and nothing is sent.
    void GoOffline();
    // Options for this device, confirmed: stores the new port and device address, drops the
    // link, connects with the probe and marks the document modified.
    int ApplyOptions(int port, uint32_t deviceAddress);

    // The link, or nullptr. Reading, dumping, logs and the terminal use it directly.
    VandtProtocol* Link() const { return m_link.get(); }
    // Drops the link; the next Connect makes a new one.
    void DropLink() { m_link.reset(); }
    // Replaces how links are made (default: MakeProtocol from the document's port and device
    // address). The command-line tool reaches devices by path or by a TCP port of its own;
    // tests shorten time-outs. ApplyOptions returns to the default.
    void SetLinkFactory(LinkFactory factory) { m_factory = std::move(factory); }

    // The texts of the status-bar panes: the state text, and the port's StatusText for the
    // link's unit address (empty without a link).
    QString StateText() const;
    QString PortStatusText() const;

    CquillTrakDoc& Document() const { return m_doc; }
    UserInterface& Ui() const { return m_ui; }

    // The program-mode probe built from the identify reply: the echo "PV SY 111 " with its
    // second character changed to "C", followed by the first character of the value. Empty
    // (no probe is sent) when the reply does not start with that echo or carries no value
    // character there, so a probe never writes a value that the device did not report.
    static QByteArray ProbeCommand(const QByteArray& identifyReply);

private:
    void SetState(int state);
    void ShowMessage(const QString& text);
    std::unique_ptr<VandtProtocol> MakeLink() const;

    CquillTrakDoc& m_doc;
    UserInterface& m_ui;
    std::unique_ptr<VandtProtocol> m_link;
    LinkFactory m_factory;
};
