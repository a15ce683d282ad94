// Fuzz target: arbitrary bytes loaded as a configuration data file. Besides the sanitizers'
// checks it asserts two properties: a failed load leaves the document untouched, and a
// successful one saves to a file that loads back to exactly the same file.
#include "CquillTrakDoc.h"
#include "UserInterface.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

class SilentUserInterface : public UserInterface {
public:
    int MessageBox(const QString&, const QString&, Buttons, Icon) override { return Ok; }
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QByteArray pristine = CquillTrakDoc().Store();
    SilentUserInterface ui;
    CquillTrakDoc doc;
    const QByteArray file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!doc.Load(file, ui)) {
        if (doc.Store() != pristine)
            std::abort();
        return 0;
    }
    const QByteArray saved = doc.Store();
    CquillTrakDoc again;
    if (!again.Load(saved, ui) || again.Store() != saved)
        std::abort();
    return 0;
}
