// The device's FTP server and firmware installation (see FtpService.h).
#include "FtpService.h"

#include "Crc32.h"
#include "DeviceState.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kStartWaitMs = 15000;
constexpr int kPollMs = 100;
const char kLogVariable[] = "QUARRANT_SIM_UPLOAD_LOG";

// Appends "USER<TAB>PATH" to the log named in the environment; the path comes last ($0).
// One printf of a short line is one appending write, so hooks running side by side do not
// mix their lines.
const char kHook[] = "/bin/sh -c 'printf \"%s\\t%s\\n\" \"$QUARRANT_FTP_USER\" \"$0\" >> \"$QUARRANT_SIM_UPLOAD_LOG\"'";

uint32_t ReadBigEndian(const QByteArray& bytes, int offset)
{
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 8 | uint8_t(bytes[offset + i]);
    return value;
}

} // namespace

FtpService::FtpService(const Config& config, DeviceState& state, QObject* parent)
    : QObject(parent)
    , m_config(config)
    , m_state(state)
{
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &FtpService::ReadUploadLog);
}

FtpService::~FtpService()
{
    Stop();
}

QString FtpService::FirmwareFolder() const
{
    return QDir(m_root).filePath(QStringLiteral("firmware"));
}

bool FtpService::Start(QString* error)
{
    if (!m_work.isValid()) {
        *error = QStringLiteral("FTP: no temporary folder");
        return false;
    }
    m_root = m_config.root.isEmpty() ? m_work.filePath(QStringLiteral("root")) : m_config.root;
    if (!QDir().mkpath(m_root)) {
        *error = QStringLiteral("FTP: cannot create the root folder %1").arg(m_root);
        return false;
    }
    m_root = QFileInfo(m_root).canonicalFilePath();
    m_logPath = m_work.filePath(QStringLiteral("uploads.log"));
    QFile log(m_logPath);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = QStringLiteral("FTP: cannot create the upload log");
        return false;
    }
    log.close();
    if (!QFileInfo::exists(m_config.script)) {
        *error = QStringLiteral("FTP: no launcher at %1 (see --ftp-script)").arg(m_config.script);
        return false;
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kLogVariable), m_logPath);
    if (m_config.verbose)
        env.insert(QStringLiteral("QUARRANT_FTP_LOG"), QStringLiteral("INFO"));
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setProgram(QStringLiteral("/usr/bin/python3"));
    m_process.setArguments({m_config.script, QStringLiteral("--host"), m_config.address, QStringLiteral("--port"),
                            QString::number(m_config.port), QStringLiteral("--root"), m_root,
                            QStringLiteral("--access-code"), m_config.accessCode,
                            // A simulator has no reason to slow a wrong guess down.
                            QStringLiteral("--auth-failed-timeout"), QStringLiteral("0.2"),
                            QStringLiteral("--on-upload-command"), QString::fromLatin1(kHook),
                            QStringLiteral("--exit-with-stdin")});
    m_process.start();
    if (!m_process.waitForStarted(kStartWaitMs)) {
        *error = QStringLiteral("FTP: python did not start: ") + m_process.errorString();
        return false;
    }
    QDeadlineTimer deadline(kStartWaitMs);
    while (!deadline.hasExpired()) {
        if (m_process.canReadLine()) {
            const QByteArray line = m_process.readLine().trimmed();
            if (line.startsWith("ftp port=")) {
                m_boundPort = quint16(line.mid(9).toUInt());
                break;
            }
            continue;
        }
        if (m_process.state() != QProcess::Running)
            break;
        m_process.waitForReadyRead(int(std::clamp<qint64>(deadline.remainingTime(), 1, 200)));
    }
    if (m_boundPort == 0) {
        Stop();
        *error = QStringLiteral("FTP: the server did not report its port");
        return false;
    }
    m_poll.start();
    return true;
}

QString FtpService::ReadyText() const
{
    return QStringLiteral("ftp=%1:%2").arg(m_config.address).arg(m_boundPort);
}

void FtpService::Stop()
{
    m_poll.stop();
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

void FtpService::ReadUploadLog()
{
    QFile log(m_logPath);
    if (!log.open(QIODevice::ReadOnly) || log.size() <= m_logOffset || !log.seek(m_logOffset))
        return;
    const QByteArray fresh = log.readAll();
    m_logOffset += fresh.size();
    m_partialLine += fresh;
    int end;
    while ((end = m_partialLine.indexOf('\n')) >= 0) {
        const QByteArray line = m_partialLine.left(end);
        m_partialLine.remove(0, end + 1);
        const int tab = line.indexOf('\t');
        if (tab >= 0)
            OnUpload(QString::fromUtf8(line.mid(tab + 1)));
    }
}

void FtpService::OnUpload(const QString& path)
{
    const QFileInfo file(path);
    if (file.absolutePath() != FirmwareFolder())
        return;
    if (file.fileName() == QLatin1String("APPINFO.DAT") || file.fileName() == QLatin1String("UPIMG.BIN"))
        CheckFirmware();
}

void FtpService::CheckFirmware()
{
    const QDir folder(FirmwareFolder());
    QFile descriptor(folder.filePath(QStringLiteral("APPINFO.DAT")));
    QFile image(folder.filePath(QStringLiteral("UPIMG.BIN")));
    if (!descriptor.open(QIODevice::ReadOnly) || !image.open(QIODevice::ReadOnly))
        return;
    const QByteArray info = descriptor.read(9);
    if (info.size() != 8)
        return;
    const uint32_t length = ReadBigEndian(info, 0);
    const uint32_t crc = ReadBigEndian(info, 4);
    if (image.size() != qint64(length))
        return;
    uint32_t reg = 0;
    Crc32Init(reg);
    uint32_t actual = 0;
    char buffer[4096];
    qint64 got;
    while ((got = image.read(buffer, sizeof buffer)) > 0) {
        for (qint64 i = 0; i < got; ++i)
            actual = Crc32Step(reg, uint8_t(buffer[i]));
    }
    if (got < 0 || actual != crc)
        return;
    m_state.RestartWithFirmware(crc);
    std::fprintf(stderr, "quarrant-devsim: firmware %08X installed; restarted\n", unsigned(crc));
    std::fflush(stderr);
}
