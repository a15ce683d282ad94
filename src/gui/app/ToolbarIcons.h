// Small 16 x 15 pictures for the toolbar commands, drawn at first use; a command without a
// picture gets an empty icon.
#pragma once

#include <QIcon>

class ToolbarIcons {
public:
    static QIcon Icon(int commandId);
};
