// Lock-key states from the platform; see LockKeyState.h.
#include "app/LockKeyState.h"

#include <QGuiApplication>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(QUARRANT_HAVE_X11) && QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
// Xlib last: its macros (None, Bool, Status ...) would clash with the Qt headers.
#include <X11/XKBlib.h>
#define QUARRANT_LOCKS_FROM_X11 1
#endif

std::optional<bool> LockKeyState::IsOn(Key key)
{
#if defined(Q_OS_WIN)
    return (GetKeyState(key == Key::CapsLock ? VK_CAPITAL : VK_NUMLOCK) & 1) != 0;
#elif defined(QUARRANT_LOCKS_FROM_X11)
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    const Atom indicator = XInternAtom(display, key == Key::CapsLock ? "Caps Lock" : "Num Lock", True);
    Bool on = False;
    if (indicator == None || !XkbGetNamedIndicator(display, indicator, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on != False;
#else
    Q_UNUSED(key);
    return std::nullopt;
#endif
}
