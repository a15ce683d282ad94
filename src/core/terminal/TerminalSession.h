// The terminal emulator without its window: executes typed and macro lines (the terminal
// commands PLAY, CLS, ECHO, PROMPT, ADDRESS, DELAY, WAITFOR, LOG, EXIT, else a device command
// over the link), keeps the output text, the macro chain and its nesting depth, the log file
// and the shared progress window, and captures "PT" reports.
//
// Driving it: a typed line goes to SubmitTypedLine (or Execute). A macro then runs one line
// per Step(); the GUI calls Step from a timer, the command-line tool loops. DELAY and WAITFOR
// wait inside one step but pump the user interface and end when its progress window is
// cancelled or RequestAbort was called, so nothing blocks beyond one device time-out.
//
// Invariants: the output never holds more than 20256 characters after a line was added (it is
// cut to its last 20000); the depth is 0 whenever no macro runs; every echo line goes to the
// log while logging is on.
#pragma once

#include "CMacro.h"
#include "TerminalLog.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

class UserInterface;
class VandtProtocol;

class TerminalSession {
public:
    static constexpr int kOutputLimit = 20256;
    static constexpr int kOutputKept = 20000;
    static constexpr int kMessagePane = 2;
    static constexpr int kMaxReportBytes = 1 << 20;

    explicit TerminalSession(UserInterface& ui);
    ~TerminalSession();
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    // The document's link (may be null: device commands then show the not-configured box) and
    // its unit address, which every typed line restores as the command address.
    void SetLink(VandtProtocol* link) { m_link = link; }
    void SetUnitAddress(int address) { m_unitAddress = address & 0xFF; }
    // Where "REPORT.TXT" is written (default: the current directory).
    void SetReportDirectory(const QString& dir) { m_reportDirectory = dir; }
    // Told every echo line as it is added (without its line end), e.g. to print it.
    void SetEchoSink(std::function<void(const QString&)> sink) { m_echoSink = std::move(sink); }
    // Shows a PROMPT's text instead of the message box (the command line prints it and, on a
    // terminal, waits for Enter).
    void SetPromptHandler(std::function<void(const QString&)> handler) { m_promptHandler = std::move(handler); }
    // Told the report file after a capture while logging is off (the GUI opens it).
    void SetReportOpener(std::function<void(const QString&)> opener) { m_reportOpener = std::move(opener); }
    // Told when the computer is to beep: a WAITFOR with its own text, just before the text is
    // shown (the GUI beeps, the command line rings the terminal's bell).
    void SetBeeper(std::function<void()> beeper) { m_beeper = std::move(beeper); }

    // A line typed by hand: lines shorter than 2 characters are not executed (false). Otherwise
    // the command address becomes the unit address and the line is executed.
    bool SubmitTypedLine(const QString& line);
    // Executes one line as the input text, then runs the macro continuation.
    void Execute(const QString& line);
    // Forgets the last command (the window's views were told to refresh), so the next text
    // typed is taken as new even when it equals the command before.
    void ForgetLastCommand() { m_lastCommand.clear(); }
    // Executes the next macro line, if one is pending. Returns whether another one is pending.
    bool Step();
    // Steps until no macro runs (or EXIT).
    void RunMacros();
    bool MacroPending() const { return m_pending; }
    bool MacroRunning() const { return m_current != nullptr; }
    // Asks the running macros and any DELAY or WAITFOR to end, as the Cancel button does.
    // Safe to call from a signal handler.
    void RequestAbort() { m_abortRequested.store(true); }
    // True when the last macro run ended by an abort.
    bool LastRunAborted() const { return m_lastRunAborted; }
    // True once EXIT was executed: the window should close.
    bool ExitRequested() const { return m_exitRequested; }

    // Sends the last command through the link and receives the reply into the last reply.
    bool ExchangeCommand();
    // Appends one echo line for the last command and reply to the output and the log.
    void EchoLine(bool withAddress);

    static QString EchoWithAddress(int depth, int address, const QString& command, const QString& reply);
    static QString EchoWithoutAddress(int depth, const QString& command, const QString& reply);

    QString Output() const { return m_output; }
    void SetOutput(const QString& text) { m_output = text; }
    int Depth() const { return m_depth; }
    int CommandAddress() const { return m_commandAddress; }
    QString LastCommand() const { return m_lastCommand; }
    QString LastReply() const { return m_lastReply; }
    QString InputText() const { return m_input; }
    const CMacro* CurrentMacro() const { return m_current.get(); }
    TerminalLog& Log() { return m_log; }

private:
    void ExecuteInput();
    void Dispatch(const QString& line);
    void Play(const QString& argument);
    void Delay(const QString& argument);
    void WaitFor(const QString& argument);
    void LogCommand(const QString& argument);
    void DeviceCommand();
    void CaptureReport();
    void Continue();
    void AppendOutput(const QString& line);
    void OpenProgress(const QString& title);
    void CloseProgress();
    // Pumps the progress window once; true when the user cancelled.
    bool PumpProgress();
    void Message(const QString& text);
    void DropMacros();

    UserInterface& m_ui;
    VandtProtocol* m_link = nullptr;
    int m_unitAddress = 1;
    int m_commandAddress = 1;
    QString m_reportDirectory;
    std::function<void(const QString&)> m_echoSink;
    std::function<void(const QString&)> m_reportOpener;
    std::function<void(const QString&)> m_promptHandler;
    std::function<void()> m_beeper;

    QString m_input;
    QString m_lastCommand;
    QString m_lastReply;
    QString m_output;
    std::unique_ptr<CMacro> m_current;
    int m_depth = 0;
    bool m_pending = false;
    bool m_lineFromMacro = false;
    bool m_progressOpen = false;
    int m_progressPos = 0;
    bool m_lastRunAborted = false;
    bool m_exitRequested = false;
    std::atomic<bool> m_abortRequested{false};
    TerminalLog m_log;
};
