// Shows the user interface's wait cursor for the life of the object, so every return path of
// a device exchange restores the normal cursor.
#pragma once

#include "UserInterface.h"

class WaitCursor {
public:
    explicit WaitCursor(UserInterface& ui)
        : m_ui(ui)
    {
        m_ui.SetWaitCursor(true);
    }
    ~WaitCursor() { m_ui.SetWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    UserInterface& m_ui;
};
