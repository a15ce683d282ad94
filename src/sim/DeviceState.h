// Everything the simulated device remembers: its configuration (the value and security
// level of every program code, held in a configuration document so that the .qcf file code
// loads and saves it), program mode, the firmware checksum, the condition flags, the logs,
// the clock, the user data registers and whether it runs its RAM executive.
// Invariant: every program code of the configuration is programmed, so a saved state file
// lists them all.
#pragma once

#include "CquillTrakDoc.h"
#include "DeviceLogs.h"
#include "StatusFlags.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>

class SimOptions;

class DeviceState {
public:
    explicit DeviceState(const SimOptions& options);
    DeviceState(const DeviceState&) = delete;
    DeviceState& operator=(const DeviceState&) = delete;

    // Factory defaults for every program code, then the values of a state file on top when
    // one is given. False with *error when the file cannot be read or is not a state file.
    bool Initialise(const QString& statePath, QString* error);
    // Writes the configuration as a configuration data file.
    bool Save(const QString& path, QString* error);

    CquillTrakDoc& Document() { return *m_doc; }
    const CquillTrakDoc& Document() const { return *m_doc; }
    // The program code of a command directory ("CF", "SY", "01".."04"), or nullptr when the
    // directory or the number is unknown.
    DBParam* FindProgramCode(const QString& directory, int number) const;
    // Values the device computes rather than stores (its date and time) are brought up to
    // date before they are read.
    void RefreshLiveValue(const DBParam& p);

    // Program mode: entered on demand by a write unless the device is locked.
    bool InProgramMode() const { return m_programMode; }
    bool IsLocked() const { return m_locked; }
    // True when program mode is (now) active; false when the device refuses access.
    bool EnterProgramMode();
    void LeaveProgramMode() { m_programMode = false; }

    uint32_t FirmwareCrc() const { return m_firmwareCrc; }
    int UnitAddress() const { return m_unit; }

    StatusFlags& Flags() { return m_flags; }
    const DeviceLogs& Logs() const { return m_logs; }

    // The device's clock: the host clock plus an offset that "SD" sets.
    QDateTime Now() const;
    void SetClock(const QDateTime& t);

    // After "UF" the device runs its RAM executive and answers no commands.
    bool InRamExecutive() const { return m_ramExecutive; }
    void StartRamExecutive() { m_ramExecutive = true; }
    void LeaveRamExecutive() { m_ramExecutive = false; }
    // The RAM executive installed a new image: the device restarts running it, answering
    // commands again, out of program mode, with its factory configuration.
    void RestartWithFirmware(uint32_t firmwareCrc);

    // User data registers ("BR"/"BW"), by kind letter and register number.
    QByteArray UserRegister(char kind, int number) const;
    void SetUserRegister(char kind, int number, const QByteArray& value);

    // Flow pulses counted so far; every query sees the meter moved on.
    uint32_t NextPulseCount() { return m_pulses += 137; }

    // The last injector / mass meter command, for their response queries.
    QByteArray lastInjectorCommand;
    QByteArray lastMeterCommand;

private:
    void ApplyFactoryDefault(DBParam& p);

    std::unique_ptr<CquillTrakDoc> m_doc;
    bool m_programMode = false;
    bool m_locked = false;
    uint32_t m_firmwareCrc = 0;
    int m_unit = 1;
    StatusFlags m_flags;
    DeviceLogs m_logs;
    qint64 m_clockOffsetSecs = 0;
    bool m_ramExecutive = false;
    QHash<QByteArray, QByteArray> m_userRegisters;
    uint32_t m_pulses = 0;
};
