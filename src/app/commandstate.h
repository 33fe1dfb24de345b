#pragma once

// What an update handler sets for one command: the state that the frame
// gives the command's menu item, toolbar button or status bar pane.

#include <QString>

namespace orvo::app {

struct CommandState {
    bool enabled = true;
    bool checked = false;
    // The pane text; unchanged when empty.
    QString text;
};

} // namespace orvo::app
