// Opens web pages and the user manual in the desktop's browser (QDesktopServices). Tests
// replace the handler to see the address instead of starting a browser.
//
// Invariants: one handler for the whole process; an empty handler means QDesktopServices.
#pragma once

#include <QUrl>
#include <functional>

class CUrlOpener {
public:
    using Handler = std::function<bool(const QUrl&)>;

    // Opens the URL; false when nothing could open it.
    static bool Open(const QUrl& url);
    // Replaces how URLs are opened; an empty handler restores the desktop's browser.
    static void SetHandler(Handler handler);

private:
    static Handler& CurrentHandler();
};
