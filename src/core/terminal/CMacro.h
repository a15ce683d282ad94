// One macro file being run by the terminal: its lines, the cursor of the next line, its
// state (0 no file, 1 loaded, 2 running, 4 ended) and error code, and the macro that started
// it with PLAY (its parent, which it owns: the innermost macro is the head of the chain).
//
// NextLine carries out the lines only a file can hold (GOTO, LOG, SHELL and the reserved IF,
// LET and ENDIF) and hands every other line to the terminal. Invariant: NextLine always
// returns; a GOTO that jumps back onto itself (or any run of file commands longer than the
// file) yields an empty line with the macro still running, so the terminal gets control
// between lines and an abort can end the loop.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class TerminalLog;

class CMacro {
public:
    enum State { NoFile = 0, Loaded = 1, Running = 2, Ended = 4 };
    enum Error {
        NoError = 0,
        OutOfMemory = 1,
        ArgumentOutOfRange = 2,
        WhileMacroRunning = 3,
        WhileRecording = 4,
        FileNotFound = 5,
        CannotCreateFile = 6,
        LabelNotDefined = 7,
        EndOfFile = 8,
    };

    // Loads the file (the name as given; without a "." in it, the name with ".MAC" appended
    // when the name itself does not exist) and starts it. A name that does not exist as
    // written matches the one file of its folder that differs from it only in case (the input
    // line upper-cases what is typed first); an exact name always wins, and several names
    // differing only in case with none exact count as not found. The error code tells the outcome.
    // log is the terminal's log, used by the LOG and SHELL lines (may be null).
    CMacro(const QString& fileName, std::unique_ptr<CMacro> parent, TerminalLog* log);
    virtual ~CMacro();
    CMacro(const CMacro&) = delete;
    CMacro& operator=(const CMacro&) = delete;

    // The next line for the terminal; empty when the macro has ended or a file command failed.
    virtual QString NextLine();
    // 1: a file command carried out; 0: the terminal executes the line; -1: failed.
    virtual int ExecuteFileCommand(const QString& line);
    virtual QString ErrorText() const { return ErrorTextOf(m_error); }

    // Called about every 50 ms while a SHELL command runs; returning true (the user aborted)
    // kills the command. Without one the command is waited for to its end.
    void SetWaitPump(std::function<bool()> pump) { m_pump = std::move(pump); }

    // The error table's text of a code ("LAST ERROR" beyond the table).
    static QString ErrorTextOf(int code);

    int State() const { return m_state; }
    int ErrorCode() const { return m_error; }
    int Cursor() const { return m_cursor; }
    const QStringList& Lines() const { return m_lines; }
    QString FileName() const { return m_fileName; }

    CMacro* Parent() const { return m_parent.get(); }
    // Hands the parent over (the caller makes it current and deletes this macro).
    std::unique_ptr<CMacro> TakeParent() { return std::move(m_parent); }

private:
    bool Load(const QString& path);
    int Goto(const QString& line);
    int Shell(const QString& line);

    std::unique_ptr<CMacro> m_parent;
    TerminalLog* m_log = nullptr;
    std::function<bool()> m_pump;
    QStringList m_lines;
    QString m_fileName;
    int m_state = NoFile;
    int m_error = NoError;
    int m_cursor = 0;
};
