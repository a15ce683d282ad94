// URL opening through the desktop or a test's handler; see CUrlOpener.h.
#include "app/CUrlOpener.h"

#include <QDesktopServices>

CUrlOpener::Handler& CUrlOpener::CurrentHandler()
{
    static Handler handler;
    return handler;
}

bool CUrlOpener::Open(const QUrl& url)
{
    if (const Handler& handler = CurrentHandler())
        return handler(url);
    return QDesktopServices::openUrl(url);
}

void CUrlOpener::SetHandler(Handler handler)
{
    CurrentHandler() = std::move(handler);
}
