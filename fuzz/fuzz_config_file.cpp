// Fuzz target: arbitrary bytes loaded as a configuration data file. Besides the sanitizers'
// checks it asserts two properties: a failed load leaves the document untouched, and a
// successful one saves to a file that loads back to exactly the same file.
#include "CquillTrakDoc.h"
#include "../tests/support/SilentUserInterface.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

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
