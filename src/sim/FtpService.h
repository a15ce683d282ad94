// The device's FTP server: scripts/ftpserver.py (pyftpdlib) run as a child process on the
// simulator's address, with user "Quarrant" at the FTP root (folder CONFIG) and user
// "Corvantix" at its folder "firmware", both with the access code as password.
//
// Firmware: the launcher reports every completed upload through its upload hook, which
// appends "USER<TAB>PATH" to a log in the service's private folder; the service reads the
// log's new complete lines on a short timer. After an upload of "APPINFO.DAT" or "UPIMG.BIN"
// into the firmware folder, when both files are there and the descriptor's length and CRC-32
// (most significant byte first) agree with the image, the device restarts running the new
// image (DeviceState::RestartWithFirmware). Files that disagree change nothing.
//
// Invariants: the server is stopped with the service, and exits by itself when the simulator
// dies (its standard input closes); only complete log lines are acted on.
#pragma once

#include "SimService.h"

#include <QObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

class DeviceState;

class FtpService : public QObject, public SimService {
    Q_OBJECT
public:
    struct Config {
        QString address;
        quint16 port = 0;
        QString root;       // empty: a folder of the service's own
        QString accessCode;
        QString script;
        bool verbose = false;
    };

    FtpService(const Config& config, DeviceState& state, QObject* parent = nullptr);
    ~FtpService() override;

    bool Start(QString* error) override;
    QString ReadyText() const override;
    void Stop() override;

    // The folder the firmware files arrive in.
    QString FirmwareFolder() const;

private:
    void ReadUploadLog();
    void OnUpload(const QString& path);
    void CheckFirmware();

    Config m_config;
    DeviceState& m_state;
    QTemporaryDir m_work;
    QString m_root;
    QString m_logPath;
    qint64 m_logOffset = 0;
    QByteArray m_partialLine;
    QProcess m_process;
    QTimer m_poll;
    quint16 m_boundPort = 0;
};
