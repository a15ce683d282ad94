// What every device command of the command-line tool shares: the options --device, --timeout,
// --on-error and --yes, the console user interface with those policies (progress on stderr
// when it is a terminal), and a connection whose links go to the --device address rather
// than to the settings stored in a document.
//
// Invariant: nothing waits for input; questions are answered by the policies (Abort, Retry
// with a bounded number of retries, Ignore; Cancel for OK/Cancel unless --yes).
#pragma once

#include "CliCommand.h"
#include "ConsoleUserInterface.h"
#include "DeviceAddress.h"
#include "DeviceConnection.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <memory>
#include <optional>

class CquillTrakDoc;

class CliDeviceSession {
public:
    explicit CliDeviceSession(CliContext& ctx);

    // Adds the shared options to a command's parser.
    void AddOptions(QCommandLineParser& parser);
    // Reads them after parsing. On a usage error prints it and returns false with *exitCode.
    bool ReadOptions(const QCommandLineParser& parser, const QString& command, int* exitCode);

    ConsoleUserInterface& Ui() { return m_ui; }
    const DeviceAddress& Address() const { return *m_address; }

    // A connection for a document that reaches the --device address. Attach it before File
    // New or loading, which connect at once.
    std::unique_ptr<DeviceConnection> Attach(CquillTrakDoc& doc);
    // Writes the address into the document's link settings as far as they can hold it:
    // TCP/IP (port 0 and the IPv4 address) or serial port N (the unit in the low byte); a
    // device path keeps the document's port and takes the unit address.
    void StoreAddressIn(CquillTrakDoc& doc) const;

    // "quarrant CMD: the device does not answer (...)": the failure text for a connection
    // that did not reach ReadOnly.
    QString NotAnsweringText(const DeviceConnection& connection) const;

private:
    CliContext& m_ctx;
    ConsoleUserInterface m_ui;
    std::optional<DeviceAddress> m_address;
    DeviceAddress::LinkOptions m_linkOptions;
    QCommandLineOption m_device;
    QCommandLineOption m_timeout;
    QCommandLineOption m_onError;
    QCommandLineOption m_yes;
};
