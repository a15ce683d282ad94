// The pseudo-terminal serial port (see PtyService.h).
#include "PtyService.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

QString ErrnoText(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

bool MakeRaw(int fd)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

} // namespace

PtyService::PtyService(const QString& linkPath, const SimLineConfig& line, DeviceState& state,
                       CommandHandler& handler, FaultInjector& faults, QObject* parent)
    : QObject(parent)
    , m_linkPath(linkPath)
    , m_line(line)
{
    m_line.name = QStringLiteral("pty");
    m_connection = new SimConnection(
        m_line, state, handler, faults, [this](const QByteArray& bytes) { Write(bytes); },
        // Deferred: the connection that asks for it is still running.
        [this]() { QMetaObject::invokeMethod(this, &PtyService::Reconnect, Qt::QueuedConnection); }, this);
}

PtyService::~PtyService()
{
    Close();
}

bool PtyService::Start(QString* error)
{
    const QFileInfo existing(m_linkPath);
    if (existing.exists() && !existing.isSymLink()) {
        *error = QStringLiteral("%1 exists and is not a symbolic link; not replacing it").arg(m_linkPath);
        return false;
    }
    m_started = Open(error);
    return m_started;
}

bool PtyService::Open(QString* error)
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0) {
        *error = ErrnoText("posix_openpt");
        return false;
    }
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        *error = ErrnoText("unlockpt");
        Close();
        return false;
    }
    const char* name = ptsname(m_master);
    if (!name) {
        *error = ErrnoText("ptsname");
        Close();
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0 || !MakeRaw(m_slave) || !MakeRaw(m_master)) {
        *error = ErrnoText("raw mode");
        Close();
        return false;
    }
    const QByteArray link = QFile::encodeName(m_linkPath);
    ::unlink(link.constData()); // a link of an earlier run or of the pair before a disconnect
    if (::symlink(name, link.constData()) != 0) {
        *error = ErrnoText("symlink");
        Close();
        return false;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &PtyService::ReadMaster);
    return true;
}

void PtyService::Close()
{
    m_notifier.reset();
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
}

QString PtyService::ReadyText() const
{
    return QStringLiteral("pty=%1").arg(m_linkPath);
}

void PtyService::Stop()
{
    Close();
    if (!m_started)
        return; // the link may belong to someone else
    m_started = false;
    const QFileInfo link(m_linkPath);
    if (link.isSymLink())
        ::unlink(QFile::encodeName(m_linkPath).constData());
}

void PtyService::ReadMaster()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            m_connection->Received(QByteArrayView(buffer, n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EAGAIN: all read. EIO cannot happen while the simulator holds the slave side open.
        return;
    }
}

void PtyService::Write(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size() && m_master >= 0) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            // The slave's input queue is full (nobody reads the line): the rest is lost, as
            // it would be on a serial line.
            if (m_line.verbose)
                std::fprintf(stderr, "quarrant-devsim: pty: %lld bytes lost\n", (long long)(bytes.size() - done));
            return;
        }
    }
}

void PtyService::Reconnect()
{
    m_connection->Reset();
    Close();
    QString error;
    if (!Open(&error)) {
        std::fprintf(stderr, "quarrant-devsim: pty: cannot make the line anew: %s\n", qPrintable(error));
        return;
    }
    if (m_line.verbose)
        std::fprintf(stderr, "quarrant-devsim: pty: line dropped and made anew at %s\n", qPrintable(m_slavePath));
}
