// A user interface for tests: records every message, progress text and status text, and
// answers questions from a queue of scripted button results (Ok when the queue is empty).
#pragma once

#include "UserInterface.h"

#include <deque>
#include <vector>

class ScriptedUserInterface : public UserInterface {
public:
    struct Message {
        QString text;
        QString caption;
        Buttons buttons;
        Icon icon;
    };

    std::vector<Message> messages;
    std::deque<int> answers;           // button results to hand out, in order
    std::vector<QString> progressTexts; // every title and text the progress window showed
    QString progressTitle;
    int progressLower = 0;
    int progressUpper = 0;
    int progressPos = 0;
    int cancelAfterSteps = -1;         // Cancel is "pressed" once this many steps were made
    bool progressFinished = false;
    QString finishText;
    std::deque<QString> fileAnswers;
    std::optional<QString> accessCode;
    int listChoice = 0;
    QStringList lastListItems;
    QString statusTexts[3];
    std::vector<QString> paneMessages; // every text shown in the message pane (2), in order
    int waitCursorDepth = 0;           // on minus off calls; 0 when balanced

    int MessageBox(const QString& text, const QString& caption, Buttons buttons, Icon icon) override
    {
        messages.push_back({text, caption, buttons, icon});
        if (answers.empty())
            return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Yes : Ok;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    void ProgressBegin(const QString& title, const QString& text, int lower, int upper) override
    {
        progressTitle = title;
        progressTexts.push_back(title);
        progressTexts.push_back(text);
        progressLower = lower;
        progressUpper = upper;
        progressPos = lower;
        progressFinished = false;
    }
    void ProgressSetText(const QString& text) override { progressTexts.push_back(text); }
    void ProgressSetPos(int pos) override { progressPos = pos; ++steps; }
    void ProgressStep() override { ++progressPos; ++steps; }
    bool ProgressCancelled() override { return cancelAfterSteps >= 0 && steps >= cancelAfterSteps; }
    void ProgressFinish(const QString& text, bool) override
    {
        progressFinished = true;
        finishText = text;
    }
    void ProgressEnd() override {}
    void Pump() override {}
    std::optional<QString> ChooseSaveFile(const QString&, const QString& suggested, const QString&) override
    {
        lastSuggestedName = suggested;
        return NextFile();
    }
    std::optional<QString> ChooseOpenFile(const QString&, const QString&) override { return NextFile(); }
    std::optional<QString> AskAccessCode(const QString&) override { return accessCode; }
    int ChooseFromList(const QString&, const QStringList& items) override
    {
        lastListItems = items;
        return listChoice;
    }
    void SetStatusText(int pane, const QString& text) override
    {
        if (pane >= 0 && pane <= 2)
            statusTexts[pane] = text;
        if (pane == 2)
            paneMessages.push_back(text);
    }
    void SetWaitCursor(bool on) override { waitCursorDepth += on ? 1 : -1; }

    QString lastSuggestedName;
    int steps = 0;

    // Texts of all messages, for compact assertions.
    QStringList MessageTexts() const
    {
        QStringList out;
        for (const Message& m : messages)
            out << m.text;
        return out;
    }

private:
    std::optional<QString> NextFile()
    {
        if (fileAnswers.empty())
            return std::nullopt;
        QString f = fileAnswers.front();
        fileAnswers.pop_front();
        return f;
    }
};
