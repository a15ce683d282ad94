// The simulator process: one device (state, command handler, fault injector) reached through
// its services (TCP/IP, pseudo-terminal), run on a Qt event loop until SIGTERM or SIGINT.
// Start prints the ready line "ready tcp=ADDR:PORT pty=PATH ftp=ADDR:PORT" (only the services asked for)
// once every service listens; Run returns after a signal, having stopped the services and
// written the state file asked for with --state-out.
#pragma once

#include "CommandHandler.h"
#include "DeviceState.h"
#include "FaultInjector.h"
#include "SimOptions.h"
#include "SimService.h"

#include <QObject>
#include <QSocketNotifier>
#include <memory>
#include <vector>

class SimServer : public QObject {
    Q_OBJECT
public:
    explicit SimServer(const SimOptions& options, QObject* parent = nullptr);
    ~SimServer() override;

    // Loads the state and starts every service; false with *error on failure.
    bool Start(QString* error);
    // Runs the event loop until a stop signal; returns the process exit code.
    int Run();

private:
    bool InstallSignalHandlers(QString* error);
    void Shutdown();

    SimOptions m_options;
    DeviceState m_state;
    CommandHandler m_handler;
    FaultInjector m_faults;
    std::vector<std::unique_ptr<SimService>> m_services;
    std::unique_ptr<QSocketNotifier> m_signalNotifier;
    bool m_stopped = false;
};
