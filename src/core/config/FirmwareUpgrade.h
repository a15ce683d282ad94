// Upgrade Firmware: replaces a device's firmware with an image file over FTP. The image is
// identified by its CRC-32 in the firmware table, the device must grant program-mode access
// (or not answer at all, as a device already in its RAM executive does), the access code is
// proved with a login as "Quarrant", "UF" switches the device into its RAM executive, and the
// RAM executive (user "Corvantix") receives the descriptor "APPINFO.DAT" and the image
// "UPIMG.BIN". Every question and message goes through the UserInterface.
//
// Invariants: nothing reaches the device's FTP server before the image is recognised, program
// mode checked and the access code given; the Internet session's receive time-out is raised
// to 65335 ms only while the RAM executive is talked to and is restored on every path; the
// progress window opened by Run is closed on every path; an upgrade reports success only when
// both files arrived, and leaves the document Offline (the device restarts with factory
// settings).
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

class DeviceConnection;
class InternetSession;

class FirmwareUpgrade {
public:
    enum class Outcome { Upgraded, Cancelled, Failed };

    static constexpr int kUpgradeReceiveTimeoutMs = 65335;
    static constexpr int kDefaultRebootWaitMs = 3000;

    struct ImageInfo {
        uint32_t length = 0;
        uint32_t crc = 0;
    };

    // internet may be nullptr: then no FTP connection can be made.
    FirmwareUpgrade(DeviceConnection& connection, InternetSession* internet);

    // The image to install (default "UPIMG.BIN") and the descriptor written for it (default
    // "APPINFO.DAT"), both in the current folder unless given with a path. On the device
    // they are always "UPIMG.BIN" and "APPINFO.DAT".
    void SetImagePath(const QString& path) { m_imagePath = path; }
    void SetDescriptorPath(const QString& path) { m_descriptorPath = path; }
    // How long the device is given to reboot into its RAM executive after "UF".
    void SetRebootWaitMs(int milliseconds) { m_rebootWaitMs = milliseconds; }

    Outcome Run();

    // Length and CRC-32 of a file; nullopt when it cannot be read or does not fit 32 bits.
    static std::optional<ImageInfo> ReadImageInfo(const QString& path);
    // The 8 bytes of "APPINFO.DAT": length, then CRC-32, each most significant byte first.
    static QByteArray DescriptorBytes(const ImageInfo& info);

private:
    Outcome Fail(const QString& text, const QString& caption = QString());
    bool PumpCancelled(const QString& progressText);
    // Step 11: proves the access code and sends the device into its RAM executive.
    std::optional<Outcome> PrepareDevice(const QString& host, const QString& accessCode);
    // Steps 13 to 16 on the RAM executive; the time-out is restored by the caller.
    Outcome SendImage(const QString& host, const QString& accessCode);

    DeviceConnection& m_connection;
    InternetSession* m_internet;
    QString m_imagePath = QStringLiteral("UPIMG.BIN");
    QString m_descriptorPath = QStringLiteral("APPINFO.DAT");
    int m_rebootWaitMs = kDefaultRebootWaitMs;
};
