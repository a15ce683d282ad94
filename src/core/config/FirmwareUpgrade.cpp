// Upgrade Firmware (see FirmwareUpgrade.h).
#include "FirmwareUpgrade.h"

#include "CquillTrakDoc.h"
#include "Crc32.h"
#include "DeviceConnection.h"
#include "DocumentCommand.h"
#include "FirmwareTable.h"
#include "FtpError.h"
#include "InternetSession.h"
#include "ReverseBytes.h"
#include "UserInterface.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QThread>

namespace {

const QString kWizard = QStringLiteral("Firmware Upgrade Wizard");
const QString kRemoteImage = QStringLiteral("UPIMG.BIN");
const QString kRemoteDescriptor = QStringLiteral("APPINFO.DAT");
constexpr int kRejected = 8;

// Closes the progress window whatever path leaves the upgrade.
class ProgressWindow {
public:
    explicit ProgressWindow(UserInterface& ui)
        : m_ui(ui)
    {
        m_ui.ProgressBegin(kWizard, QString(), 0, 100);
    }
    ~ProgressWindow() { m_ui.ProgressEnd(); }

private:
    UserInterface& m_ui;
};

// Puts the session's receive time-out back when the RAM executive is done with.
class RaisedTimeout {
public:
    RaisedTimeout(InternetSession& session, int milliseconds)
        : m_session(session)
        , m_saved(session.ReceiveTimeout())
    {
        m_session.SetReceiveTimeout(milliseconds);
    }
    ~RaisedTimeout() { m_session.SetReceiveTimeout(m_saved); }

private:
    InternetSession& m_session;
    int m_saved;
};

QString DottedAddress(uint32_t address)
{
    return QString::asprintf("%d.%d.%d.%d", int(address >> 24 & 0xFF), int(address >> 16 & 0xFF),
                             int(address >> 8 & 0xFF), int(address & 0xFF));
}

} // namespace

FirmwareUpgrade::FirmwareUpgrade(DeviceConnection& connection, InternetSession* internet)
    : m_connection(connection)
    , m_internet(internet)
{
}

std::optional<FirmwareUpgrade::ImageInfo> FirmwareUpgrade::ReadImageInfo(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    uint32_t reg = 0;
    Crc32Init(reg);
    ImageInfo info;
    qint64 length = 0;
    char buffer[4096];
    for (;;) {
        const qint64 got = file.read(buffer, sizeof buffer);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        for (qint64 i = 0; i < got; ++i)
            info.crc = Crc32Step(reg, uint8_t(buffer[i]));
        length += got;
        if (length > qint64(UINT32_MAX))
            return std::nullopt; // the descriptor cannot state its length
    }
    info.length = uint32_t(length);
    return info;
}

QByteArray FirmwareUpgrade::DescriptorBytes(const ImageInfo& info)
{
    QByteArray bytes(8, '\0');
    ReverseBytes(bytes.data(), &info.length, 4);
    ReverseBytes(bytes.data() + 4, &info.crc, 4);
    return bytes;
}

FirmwareUpgrade::Outcome FirmwareUpgrade::Fail(const QString& text, const QString& caption)
{
    m_connection.Ui().MessageBox(text, caption);
    return Outcome::Failed;
}

bool FirmwareUpgrade::PumpCancelled(const QString& progressText)
{
    UserInterface& ui = m_connection.Ui();
    if (!progressText.isEmpty())
        ui.ProgressSetText(progressText);
    ui.Pump();
    return ui.ProgressCancelled();
}

FirmwareUpgrade::Outcome FirmwareUpgrade::Run()
{
    UserInterface& ui = m_connection.Ui();
    CquillTrakDoc& doc = m_connection.Document();
    if (!IsCommandEnabled(doc, DocumentCommand::UpgradeFirmware))
        return Outcome::Failed;

    if (ui.MessageBox(QStringLiteral("WARNING: Upgrading will erase ALL memory in the Corvantix.net Liquid (batch records, "
                                     "configuration, reports, equations, etc.)... continue?"),
                      kWizard, UserInterface::Buttons::OkCancel, UserInterface::Icon::Warning)
        != UserInterface::Ok)
        return Outcome::Cancelled;

    ProgressWindow progress(ui);

    if (!QFile::exists(m_imagePath))
        return Fail(QStringLiteral("No new application image found... Unable to upgrade. \n Refer to XN27705 for "
                                   "upgrade information"),
                    QStringLiteral("Corvantix.net Liquid Upgrade Wizard"));
    const std::optional<ImageInfo> image = ReadImageInfo(m_imagePath);
    if (!image)
        return Fail(QStringLiteral("This UPIMG.BIN is unrecognized by Quarrant Liquid... Unable to upgrade. \n Refer to "
                                   "XN27705 for upgrade instructions ."));

    QSaveFile descriptor(m_descriptorPath);
    if (!descriptor.open(QIODevice::WriteOnly) || descriptor.write(DescriptorBytes(*image)) != 8 || !descriptor.commit())
        return Fail(QStringLiteral("Error creating APPINFO.DAT... Unable to upgrade. \n Refer to XN27705 for upgrade "
                                   "instructions"));

    const float imageRevision = FirmwareTable::Revision(image->crc);
    if (imageRevision < 0)
        return Fail(QStringLiteral("This UPIMG.BIN is unrecognized by Quarrant Liquid... Unable to upgrade. \n Refer to "
                                   "XN27705 for upgrade instructions ."));

    const int state = m_connection.Connect(true);
    if (state == CquillTrakDoc::ReadOnly)
        return Fail(QStringLiteral("Program Mode access via communications is required... Unable to upgrade. \n Refer "
                                   "to XN27705 for upgrade instructions."));
    if (state == CquillTrakDoc::Online && doc.deviceRevision > imageRevision
        && ui.MessageBox(QStringLiteral("NOTE... the UPIMG.BIN file is older than the firmware currently running in the "
                                        "Corvantix... Continue? \n Refer to XN27705 for upgrade instructions"),
                         QStringLiteral("Quarrant Firmware Upgrade Wizard"), UserInterface::Buttons::OkCancel,
                         UserInterface::Icon::Warning)
               != UserInterface::Ok)
        return Outcome::Cancelled;

    const std::optional<QString> accessCode = ui.AskAccessCode(QStringLiteral("Enter Access Code"));
    if (!accessCode)
        return Outcome::Cancelled;
    if (PumpCancelled(QStringLiteral("Preparing Corvantix.net Liquid for upgrade process...")))
        return Outcome::Cancelled;

    const QString host = DottedAddress(doc.deviceAddress);
    if (state > CquillTrakDoc::Offline) {
        if (const std::optional<Outcome> stopped = PrepareDevice(host, *accessCode))
            return *stopped;
    }

    if (!m_internet)
        return Fail(QStringLiteral("Unable to establish connection with Corvantix.net Liquid"));
    Outcome outcome;
    {
        RaisedTimeout raised(*m_internet, kUpgradeReceiveTimeoutMs);
        outcome = SendImage(host, *accessCode);
    }
    if (outcome != Outcome::Upgraded)
        return outcome;
    m_connection.GoOffline();
    ui.ProgressSetText(QStringLiteral("Allowing Corvantix.net Liquid to restart with new image..."));
    ui.MessageBox(QStringLiteral("Transfer completed. The Corvantix will be factory initialized. "),
                  QStringLiteral("Firmware Upgraded Successfully"));
    return Outcome::Upgraded;
}

std::optional<FirmwareUpgrade::Outcome> FirmwareUpgrade::PrepareDevice(const QString& host, const QString& accessCode)
{
    UserInterface& ui = m_connection.Ui();
    if (!m_internet)
        return Fail(QStringLiteral("Unable to establish FTP connection with Corvantix.net Liquid. \n Refer to XN27705 "
                                   "for upgrade instructions"));
    {
        // This login only proves the access code; the connection is closed at once.
        const std::unique_ptr<FtpSession> ftp = m_internet->NewConnection();
        const FtpSession::Result login = ftp->Connect(host, QStringLiteral("Quarrant"), accessCode, m_internet->FtpPort());
        if (!login.Ok()) {
            if (login.kind == FtpSession::Result::Kind::Internet && login.error == FtpError::IncorrectPassword)
                return Fail(QStringLiteral("Invalid access code... aborting operation"),
                            QStringLiteral("Error connecting to Corvantix.net Liquid"));
            return Fail(QStringLiteral("Unable to establish FTP connection with Corvantix.net Liquid. \n Refer to XN27705 "
                                       "for upgrade instructions"));
        }
        ftp->Disconnect();
    }
    if (PumpCancelled(QStringLiteral("Preparing Corvantix.net for upgrade process...")))
        return Outcome::Cancelled;

    VandtProtocol* link = m_connection.Link();
    if (link && link->Send("UF")) {
        QByteArray reply;
        if (link->Receive(reply) == kRejected) {
            link->ShowErrorBox(ui, QString(), UserInterface::Buttons::OkCancel);
            return Fail(QStringLiteral("Error loading RAM executive - aborting."));
        }
        // Any other answer, or none: the device may already be rebooting.
        ui.ProgressSetText(QStringLiteral("Allowing Corvantix.net to reboot into RAM executive; please wait..."));
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < m_rebootWaitMs) {
            if (PumpCancelled(QString()))
                return Outcome::Cancelled;
            QThread::msleep(20);
        }
    }
    return std::nullopt;
}

FirmwareUpgrade::Outcome FirmwareUpgrade::SendImage(const QString& host, const QString& accessCode)
{
    UserInterface& ui = m_connection.Ui();
    const std::unique_ptr<FtpSession> ftp = m_internet->NewConnection();
    if (!ftp->Connect(host, QStringLiteral("Corvantix"), accessCode, m_internet->FtpPort()).Ok())
        return Fail(QStringLiteral("Unable to establish connection with Corvantix.net Liquid"));

    PumpCancelled(QStringLiteral("Erasing existing application memory (flash)..."));
    ftp->DeleteFile(kRemoteImage); // there may be no earlier image

    // The descriptor and the image must both arrive: the device cannot restart without them,
    // so a failed upload is reported rather than announced as a success.
    const struct {
        QString progress;
        QString local;
        QString remote;
    } uploads[] = {
        {QStringLiteral("Initiating application image download..."), m_descriptorPath, kRemoteDescriptor},
        {QStringLiteral("downloading image..."), m_imagePath, kRemoteImage},
    };
    for (const auto& upload : uploads) {
        PumpCancelled(upload.progress);
        QFile file(upload.local);
        FtpSession::Result sent;
        if (!file.open(QIODevice::ReadOnly)) {
            sent.kind = FtpSession::Result::Kind::LocalFile;
            sent.text = file.errorString();
        } else {
            sent = ftp->Upload(upload.remote, file, [&ui](qint64) {
                ui.Pump();
                return true;
            });
        }
        if (!sent.Ok()) {
            ftp->Disconnect();
            // The device has left its application for the RAM executive and answers no commands.
            m_connection.GoOffline();
            QString detail = sent.text;
            detail.replace(QLatin1Char('\n'), QLatin1Char(' '));
            detail.remove(QLatin1Char('\r'));
            return Fail(QStringLiteral("Error sending %1 to Corvantix.net Liquid (%2)... Unable to upgrade. \n Refer to "
                                       "XN27705 for upgrade instructions")
                            .arg(upload.remote, detail),
                        kWizard);
        }
    }
    ftp->Disconnect();
    return Outcome::Upgraded;
}
