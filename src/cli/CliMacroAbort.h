// Ctrl+C while a terminal session runs a macro: the first interrupt asks the session to abort
// its macros (as the progress window's Cancel does); outside a macro, or a second time, the
// interrupt ends the program as usual. One instance at a time; the destructor restores the
// previous handler.
#pragma once

class QString;
class TerminalSession;

class CliMacroAbort {
public:
    explicit CliMacroAbort(TerminalSession& session);
    ~CliMacroAbort();
    CliMacroAbort(const CliMacroAbort&) = delete;
    CliMacroAbort& operator=(const CliMacroAbort&) = delete;

    // Executes a typed line with interrupts turned into an abort (a typed DELAY or WAITFOR).
    bool SubmitTypedLine(const QString& line);
    // Runs the session's pending macro lines with interrupts turned into an abort.
    void RunMacros();

private:
    TerminalSession& m_session;
    void (*m_previous)(int) = nullptr;
};
