// Whether Caps Lock and Num Lock are on, for the CAP and NUM status panes. Qt itself does not
// report lock states: on Windows the keyboard state is asked, on an X11 display the server's
// named keyboard indicators; elsewhere (Wayland, the offscreen platform) the state is unknown
// and the panes stay empty rather than guess.
#pragma once

#include <optional>

class LockKeyState {
public:
    enum class Key { CapsLock, NumLock };

    // The lock's state, or nullopt when the platform cannot tell.
    static std::optional<bool> IsOn(Key key);
};
