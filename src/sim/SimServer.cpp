// The simulator process (see SimServer.h). Signals reach the event loop through a pipe: the
// handler only writes one byte, the loop does the rest.
#include "SimServer.h"

#include "FtpService.h"
#include "PtyService.h"
#include "TcpService.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

extern "C" void OnStopSignal(int)
{
    const char byte = 1;
    const int saved = errno;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

SimServer::SimServer(const SimOptions& options, QObject* parent)
    : QObject(parent)
    , m_options(options)
    , m_state(options)
    , m_handler(m_state)
    , m_faults(options.faults)
{
}

SimServer::~SimServer()
{
    Shutdown();
}

bool SimServer::InstallSignalHandlers(QString* error)
{
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        *error = QStringLiteral("cannot create the signal pipe");
        return false;
    }
    m_signalNotifier = std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
    connect(m_signalNotifier.get(), &QSocketNotifier::activated, this, []() {
        char buffer[16];
        while (::read(g_signalPipe[0], buffer, sizeof buffer) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    // A host that goes away mid-write must not kill the device.
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

bool SimServer::Start(QString* error)
{
    if (!InstallSignalHandlers(error))
        return false;
    if (!m_state.Initialise(m_options.statePath, error))
        return false;

    SimLineConfig line;
    line.latencyMs = m_options.latencyMs;
    line.baud = m_options.baud;
    line.verbose = m_options.verbose;
    if (!m_options.tcpAddress.isEmpty()) {
        SimLineConfig tcp = line;
        tcp.framing = ProtocolKind::Terminal;
        tcp.checkAddress = false;
        m_services.push_back(std::make_unique<TcpService>(m_options.tcpAddress, m_options.tcpPort, tcp, m_state,
                                                          m_handler, m_faults));
    }
    if (!m_options.ptyPath.isEmpty()) {
        SimLineConfig serial = line;
        serial.framing = m_options.framing;
        serial.checkAddress = true;
        m_services.push_back(std::make_unique<PtyService>(m_options.ptyPath, serial, m_state, m_handler, m_faults));
    }
    if (m_options.ftpPort >= 0) {
        FtpService::Config ftp;
        ftp.address = m_options.tcpAddress.isEmpty() ? QStringLiteral("127.0.0.1") : m_options.tcpAddress;
        ftp.port = quint16(m_options.ftpPort);
        ftp.root = m_options.ftpRoot;
        ftp.accessCode = m_options.accessCode;
#ifdef QUARRANT_FTP_SCRIPT
        ftp.script = m_options.ftpScript.isEmpty() ? QStringLiteral(QUARRANT_FTP_SCRIPT) : m_options.ftpScript;
#else
        ftp.script = m_options.ftpScript;
#endif
        ftp.verbose = m_options.verbose;
        m_services.push_back(std::make_unique<FtpService>(ftp, m_state));
    }
    QStringList ready;
    for (const std::unique_ptr<SimService>& service : m_services) {
        if (!service->Start(error))
            return false;
        ready << service->ReadyText();
    }
    std::printf("ready %s\n", qPrintable(ready.join(QLatin1Char(' '))));
    std::fflush(stdout);
    return true;
}

int SimServer::Run()
{
    QCoreApplication::exec();
    Shutdown();
    if (!m_options.stateOutPath.isEmpty()) {
        QString error;
        if (!m_state.Save(m_options.stateOutPath, &error)) {
            std::fprintf(stderr, "quarrant-devsim: %s\n", qPrintable(error));
            return 1;
        }
    }
    return 0;
}

void SimServer::Shutdown()
{
    if (m_stopped)
        return;
    m_stopped = true;
    for (const std::unique_ptr<SimService>& service : m_services)
        service->Stop();
}
