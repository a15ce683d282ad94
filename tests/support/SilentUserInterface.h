// A user interface that shows nothing and asks nobody, for benchmarks and fuzz targets: every
// message box is counted and answered with `answer`, choices are declined, progress is
// ignored and never cancelled.
#pragma once

#include "UserInterface.h"

class SilentUserInterface : public UserInterface {
public:
    int answer = Ok;
    int messages = 0;

    int MessageBox(const QString&, const QString&, Buttons, Icon) override
    {
        ++messages;
        return answer;
    }
    void ProgressBegin(const QString&, const QString&, int, int) override {}
    void ProgressSetText(const QString&) override {}
    void ProgressSetPos(int) override {}
    void ProgressStep() override {}
    bool ProgressCancelled() override { return false; }
    void ProgressFinish(const QString&, bool) override {}
    void ProgressEnd() override {}
    void Pump() override {}
    std::optional<QString> ChooseSaveFile(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> ChooseOpenFile(const QString&, const QString&) override { return {}; }
    std::optional<QString> AskAccessCode(const QString&) override { return {}; }
    int ChooseFromList(const QString&, const QStringList&) override { return -1; }
    void SetStatusText(int, const QString&) override {}
    void SetWaitCursor(bool) override {}
};
