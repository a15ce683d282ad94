// Gives every frame the application makes a scripted user interface and keeps a pointer to
// each, in the order the frames were made. A frame owns its user interface: a pointer is valid
// only while its frame exists.
#pragma once

#include "ScriptedUserInterface.h"
#include "app/CquillTrakApp.h"

#include <memory>
#include <vector>

inline void UseScriptedUis(CquillTrakApp& app, std::vector<ScriptedUserInterface*>& uis)
{
    app.SetUiFactory([&uis](CDocFrame&) {
        auto ui = std::make_unique<ScriptedUserInterface>();
        uis.push_back(ui.get());
        return ui;
    });
}
