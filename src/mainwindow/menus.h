// The list's context menu: the command buttons' captions and availability
// as a popup, so the commands are at hand also when the buttons are hidden.
#pragma once

#include <array>
#include <string>

#include "mainwindow/layout.h"
#include "mainwindow/main_view.h"

namespace kelvra {

struct Program;

struct MenuEntry {
    bool separator = false;
    Command command = Command::New;  // the button whose click the item runs
    std::wstring caption;
    bool enabled = false;
    KeyAction key = KeyAction::None;  // the key that does the same, shown beside the caption
};

// mnuContext(0..9): new, move, kill, separator, fix, deactivate, permanent
// deactivate, separator, rename, link; captions as the buttons show them for
// the selected row, enabled by the availability flags last computed.
std::array<MenuEntry, 10> ContextMenuEntries(Program& program);

}  // namespace kelvra
