// The terminal emulator's form: the arm selector (one entry, always disabled), the input line
// and the read-only output, over a TerminalSession that executes the lines through the
// document's link.
//
// Typing follows the input line's rules: while the text is shorter than 8 characters it is
// shown in upper case; Enter (or a carriage return or line feed in the text, as a command
// prefix from the menu carries) executes the line when it has 2 or more characters, and a
// shorter line stays in the input. Each change selects the help topic of the command whose
// first two letters the input starts with (130 when none). A running macro executes one line
// per turn of the event loop, so the window stays responsive between lines.
//
// Invariants: the session is given the document's current link and unit address before every
// line, so a link remade by the configuration frame is never used stale. While a line executes
// (IsBusy) nothing else is executed; the frame does not close then but asks the line to end.
#pragma once

#include "TerminalSession.h"

#include <QTimer>
#include <QWidget>
#include <functional>

class DeviceConnection;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class UserInterface;

class CEmulatorView : public QWidget {
    Q_OBJECT
public:
    CEmulatorView(DeviceConnection& connection, UserInterface& ui, QWidget* parent = nullptr);
    ~CEmulatorView() override;

    // The first update: the arm selector's entry, help topic 130, the focus to the input line.
    void OnInitialUpdate();
    // Every later update (the document's views refresh): empties the input and forgets the last
    // command, shows the fields, scrolls the output to its end and resets the help topic to 130.
    void OnUpdate();

    // Chooses an item of the Commands menu: its command prefix goes into the input line (a
    // prefix ending in a carriage return is executed at once).
    void ChooseCommand(int itemId);

    // Asked before each macro line: false holds the macro back (another operation of the
    // document is using the link) and asks again shortly.
    void SetStepGate(std::function<bool()> gate) { m_stepGate = std::move(gate); }

    int HelpTopic() const { return m_helpTopic; }
    // True while a line (or a macro line) executes.
    bool IsBusy() const { return m_busy; }
    // Ends a running macro, DELAY or WAITFOR as the progress window's Cancel does.
    void RequestAbort() { m_session.RequestAbort(); }

    QLineEdit* InputLine() const { return m_input; }
    QPlainTextEdit* OutputView() const { return m_output; }
    QComboBox* ArmSelector() const { return m_arm; }
    const TerminalSession& Session() const { return m_session; }

signals:
    // EXIT was executed: the window is to close.
    void ExitRequested();
    // A line finished executing (the frame closes afterwards if it was asked to meanwhile).
    void Idle();

private:
    void OnInputChanged(const QString& text);
    void OnReturnPressed();
    // The typing steps for a new input text (typed, pasted or put there by a menu item).
    void ProcessInput(QString text);
    void SetHelpTopic(int topic);
    void WriteBack(const QString& text, qsizetype caret);
    void ExecuteTyped(const QString& line);
    void StepMacro();
    void AfterExecution();
    void AttachLink();
    void ShowOutput();

    DeviceConnection& m_connection;
    UserInterface& m_ui;
    TerminalSession m_session;
    QComboBox* m_arm = nullptr;
    QLineEdit* m_input = nullptr;
    QPlainTextEdit* m_output = nullptr;
    QTimer m_macroTimer;
    std::function<bool()> m_stepGate;
    QString m_shownOutput;
    int m_helpTopic;
    bool m_busy = false;
    bool m_writingBack = false;
};
