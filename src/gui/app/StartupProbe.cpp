// Start-up probe; see StartupProbe.h.
#include "app/StartupProbe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <optional>
#if defined(Q_OS_LINUX)
#include <unistd.h>
#endif

namespace {

// Milliseconds since the kernel started this process, when it can tell.
std::optional<double> ProcessAgeMs()
{
#if defined(Q_OS_LINUX)
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray line = stat.readAll();
    // Field 2 (the command) is in parentheses and may hold blanks: count from its end.
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0)
        return std::nullopt;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    // starttime is field 22 of the whole line, i.e. index 19 after the command.
    if (fields.size() <= 19)
        return std::nullopt;
    bool ok = false;
    const double startTicks = fields[19].toDouble(&ok);
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    timespec now{};
    if (!ok || ticksPerSecond <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return std::nullopt;
    const double nowMs = double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
    return nowMs - startTicks * 1000.0 / double(ticksPerSecond);
#else
    return std::nullopt;
#endif
}

// A value in kB from /proc/self/status ("VmHWM", "VmRSS"), -1 when unknown.
long StatusKb(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

class ProbeFilter : public QObject {
public:
    explicit ProbeFilter(QObject* parent) : QObject(parent) { m_sinceInstall.start(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            const double ms = ProcessAgeMs().value_or(double(m_sinceInstall.nsecsElapsed()) / 1e6);
            std::fprintf(stderr, "startup-probe: first-window-ms=%.1f vmhwm-kb=%ld vmrss-kb=%ld\n", ms,
                         StatusKb("VmHWM"), StatusKb("VmRSS"));
            std::fflush(stderr);
            // Ends the event loop once this paint is done.
            QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); },
                                      Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QElapsedTimer m_sinceInstall;
    bool m_done = false;
};

} // namespace

void StartupProbe::InstallIfRequested(QWidget* firstWindow)
{
    if (!firstWindow || qEnvironmentVariable("QUARRANT_STARTUP_PROBE") != QLatin1String("1"))
        return;
    firstWindow->installEventFilter(new ProbeFilter(firstWindow));
}
