// The one seam between the core and whoever talks to the user. The core never shows a
// window: it asks this interface. The desktop application implements it with dialogs, the
// command-line tool with the console and its policy flags, the tests with a scripted fake
// that records every text the user would see.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class UserInterface {
public:
    // Button results, numbered as the message boxes of the original platform number them.
    enum Result { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
    enum class Buttons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
    enum class Icon { None, Information, Warning, Error, Question };

    // Message boxes without a caption carry the application title.
    static QString ApplicationTitle() { return QStringLiteral("Quarrant Liquid"); }

    virtual ~UserInterface() = default;

    // A message box; returns the button pressed.
    virtual int MessageBox(const QString& text, const QString& caption = QString(),
                           Buttons buttons = Buttons::Ok, Icon icon = Icon::None) = 0;

    // Progress window. Begin shows it with a title, a text and a range; Step and SetPos move
    // the bar; Cancelled reports the Cancel button; Finish turns Cancel into "&Close" with a
    // final text and waits for it when waitForClose is set; End removes the window.
    virtual void ProgressBegin(const QString& title, const QString& text, int lower, int upper) = 0;
    virtual void ProgressSetText(const QString& text) = 0;
    virtual void ProgressSetPos(int pos) = 0;
    virtual void ProgressStep() = 0;
    virtual bool ProgressCancelled() = 0;
    virtual void ProgressFinish(const QString& text, bool waitForClose) = 0;
    virtual void ProgressEnd() = 0;

    // Lets the user interface process its events during long work.
    virtual void Pump() = 0;

    // File choice; nullopt when the user cancels.
    virtual std::optional<QString> ChooseSaveFile(const QString& caption, const QString& suggestedName,
                                                  const QString& filter) = 0;
    virtual std::optional<QString> ChooseOpenFile(const QString& caption, const QString& filter) = 0;

    // The device's access code; nullopt when cancelled.
    virtual std::optional<QString> AskAccessCode(const QString& prompt) = 0;

    // One of several choices; -1 when cancelled.
    virtual int ChooseFromList(const QString& caption, const QStringList& items) = 0;

    // Status-bar panes: 0 the connection state, 1 the port, 2 the message pane (prompts and
    // the progress messages of contacting a device).
    virtual void SetStatusText(int pane, const QString& text) = 0;

    virtual void SetWaitCursor(bool on) = 0;
};
