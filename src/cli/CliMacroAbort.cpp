// Ctrl+C aborts a running macro (see CliMacroAbort.h).
#include "CliMacroAbort.h"

#include "TerminalSession.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<TerminalSession*> g_session{nullptr};
std::atomic<bool> g_running{false};

extern "C" void OnInterrupt(int signal)
{
    TerminalSession* session = g_session.load();
    if (session && g_running.exchange(false)) {
        session->RequestAbort();
        return;
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

CliMacroAbort::CliMacroAbort(TerminalSession& session)
    : m_session(session)
{
    g_session.store(&session);
    m_previous = std::signal(SIGINT, OnInterrupt);
}

CliMacroAbort::~CliMacroAbort()
{
    std::signal(SIGINT, m_previous == SIG_ERR ? SIG_DFL : m_previous);
    g_running.store(false);
    g_session.store(nullptr);
}

bool CliMacroAbort::SubmitTypedLine(const QString& line)
{
    g_running.store(true);
    const bool executed = m_session.SubmitTypedLine(line);
    g_running.store(false);
    return executed;
}

void CliMacroAbort::RunMacros()
{
    while (m_session.MacroPending()) {
        g_running.store(true);
        m_session.Step();
    }
    g_running.store(false);
}
