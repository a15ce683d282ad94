// Check for Updates (see UpdateCheck.h).
#include "UpdateCheck.h"

#include "FtpSession.h"
#include "InternetSession.h"
#include "UpdateSettings.h"
#include "UserInterface.h"

#include <QDir>
#include <QFile>

namespace {

const QString kRevisionFile = QStringLiteral("REV.TXT");
const QString kWizard = QStringLiteral("Pendralux.net Upgrade Wizard");
constexpr int kRevisionBytes = 7;

} // namespace

UpdateCheck::UpdateCheck(UserInterface& ui, InternetSession* internet)
    : m_ui(ui)
    , m_internet(internet)
    , m_host(UpdateSettings::UpdateServer())
{
}

void UpdateCheck::SetServer(const QString& host, quint16 port)
{
    m_host = host;
    m_port = port;
}

QString UpdateCheck::InstallerUrl() const
{
    return UpdateSettings::InstallerUrl();
}

QString UpdateCheck::LocalPath() const
{
    return QDir(m_folder).filePath(kRevisionFile);
}

std::optional<float> UpdateCheck::ParseRevision(const QByteArray& text)
{
    const QByteArray head = text.left(kRevisionBytes);
    int i = 0;
    while (i < head.size() && (head[i] == ' ' || head[i] == '\t'))
        ++i;
    int end = i;
    if (end < head.size() && (head[end] == '+' || head[end] == '-'))
        ++end;
    bool digits = false;
    bool point = false;
    for (; end < head.size(); ++end) {
        const char c = head[end];
        if (c >= '0' && c <= '9')
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        return std::nullopt;
    bool ok = false;
    const float value = head.mid(i, end - i).toFloat(&ok);
    return ok ? std::optional<float>(value) : std::nullopt;
}

void UpdateCheck::Fetch()
{
    const std::unique_ptr<FtpSession> ftp = m_internet->NewConnection();
    if (!ftp->Connect(m_host, QStringLiteral("anonymous"), UpdateSettings::AnonymousPassword(),
                      m_port != 0 ? m_port : m_internet->FtpPort())
             .Ok()) {
        m_ui.MessageBox(QStringLiteral("Unable to open FTP connection to server via Internet"), kWizard);
        return;
    }
    m_ui.ProgressSetText(QStringLiteral("Getting latest release information..."));
    m_ui.Pump();
    if (ftp->SetCurrentFolder(QStringLiteral("QuarrantL")).Ok()) {
        QFile local(LocalPath());
        FtpSession::Result fetched;
        if (local.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            fetched = ftp->Download(kRevisionFile, local, FtpSession::TransferType::Binary, {});
            local.close();
        } else {
            fetched.kind = FtpSession::Result::Kind::LocalFile;
        }
        if (fetched.Ok()) {
            m_ui.ProgressSetText(QStringLiteral("Image information retrieved, processing image data..."));
            m_ui.Pump();
        } else {
            // A part of a file is no revision: leave nothing to be read.
            local.remove();
            // A server that has no revision file has nothing to tell; a transfer that broke
            // off, or a file that cannot be written here, is an error.
            const bool noSuchFile = fetched.kind == FtpSession::Result::Kind::Internet && !fetched.opened;
            if (!noSuchFile)
                m_ui.MessageBox(QStringLiteral("Error retrieving revision information... aborting"));
        }
    }
    ftp->Disconnect();
}

UpdateCheck::Outcome UpdateCheck::Run()
{
    m_revision = -1.0f;
    if (!m_internet) {
        m_ui.MessageBox(QStringLiteral("No Internet connection is available to Quarrant Liquid, so it cannot check for "
                                       "updates. Restart Quarrant Liquid to try again."),
                        kWizard);
        return Outcome::NoSession;
    }
    m_ui.ProgressBegin(QStringLiteral("Firmware Upgrade Wizard"), QString(), 0, 100);
    // Names here may differ in case from the server's: remove every earlier revision file.
    const QDir folder(m_folder);
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (name.compare(kRevisionFile, Qt::CaseInsensitive) == 0)
            QFile::remove(folder.filePath(name));
    }
    Fetch();
    m_ui.ProgressEnd();

    QFile file(LocalPath());
    if (!file.open(QIODevice::ReadOnly))
        return Outcome::NoInformation;
    const QByteArray head = file.read(kRevisionBytes);
    if (head.isEmpty())
        return Outcome::NoInformation;
    // A file without a number reads as revision 0, as an older one.
    m_revision = ParseRevision(head).value_or(0.0f);
    if (m_revision - kApplicationRevision > 0.001f) {
        const int answer = m_ui.MessageBox(
            QString::asprintf("A newer revision of Quarrant Liquid (revision %05.2f) is now available. Upgrade now?",
                              double(m_revision)),
            QStringLiteral("Quarrant for Corvantix.net Liquid Upgrade Wizard"), UserInterface::Buttons::OkCancel);
        return answer == UserInterface::Ok ? Outcome::InstallerChosen : Outcome::Declined;
    }
    m_ui.MessageBox(QStringLiteral("You are currently running the latest revision of Quarrant for Corvantix.net Liquid."));
    return Outcome::Latest;
}
