// The terminal's command menus as data: the items of the Commands menu (id, submenu, label,
// the prefix the item puts into the input line, the help text shown while it is highlighted)
// and the further command prefixes that only select a help topic while typing. The GUI menu
// and the command-line help are both built from here.
//
// A prefix ending in a carriage return is executed at once when chosen; one ending in a blank
// (or in nothing) waits for arguments. An item's prefix is string resource id + 1000; typing
// selects help topic resource id - 11000 when the first two characters match.
#pragma once

#include <QString>
#include <span>

struct TerminalMenuItem {
    int id;
    const char* submenu;
    const char* label;
    const char* prefix;
    const char* help;
    bool separatorBefore;
};

struct TerminalPrefix {
    int id; // string resource id of the prefix (item id + 1000)
    const char* prefix;
};

class TerminalCommandTable {
public:
    static constexpr int kDefaultHelpTopic = 130;
    static constexpr int kEqItem = 18101; // F4

    // The menu items in menu order; submenus in the order of their first item.
    static std::span<const TerminalMenuItem> MenuItems();
    static const TerminalMenuItem* FindItem(int id);
    // Every command prefix (menu items' and the help-only ones), in ascending resource id.
    static std::span<const TerminalPrefix> Prefixes();

    // The help topic for an input text: 130, or the topic of the last prefix (by resource id)
    // whose first two characters equal the input's.
    static int HelpTopicFor(const QString& input);
    // How the input line shows a typed text: upper case while it is shorter than 8
    // characters, so characters typed from the eighth on keep their case.
    static QString TypedText(const QString& typed);
};
