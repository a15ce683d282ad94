// One way of reaching the simulated device (the TCP listener, the pseudo-terminal, later the
// FTP server). The server starts every service before it reports ready and stops them all on
// shutdown; each service adds its part to the ready line ("tcp=127.0.0.1:7734").
#pragma once

#include <QString>

class SimService {
public:
    virtual ~SimService() = default;

    // Starts listening; false with *error when that is impossible.
    virtual bool Start(QString* error) = 0;
    // "key=value" for the ready line.
    virtual QString ReadyText() const = 0;
    // Stops listening and drops every connection; called once, before destruction.
    virtual void Stop() = 0;
};
