#include "mainwindow/menus.h"

#include "mainwindow/main_window.h"
#include "program.h"

namespace kelvra {

namespace {

// The key that runs a command: in move mode the Move item inserts with
// Enter, or cancels with Esc on the row the move started from.
KeyAction CommandKey(Command command, bool moveMode, bool onMoveSource) {
    switch (command) {
        case Command::New:
            return KeyAction::New;
        case Command::Move:
            if (!moveMode) return KeyAction::StartMove;
            return onMoveSource ? KeyAction::CancelMove : KeyAction::CompleteMove;
        case Command::Kill:
            return KeyAction::Kill;
        case Command::Fix:
            return KeyAction::Fix;
        case Command::Deactivate:
            return KeyAction::Deactivate;
        case Command::DeactivatePerm:
            return KeyAction::DeactivatePerm;
        case Command::Rename:
            return KeyAction::Rename;
        case Command::Link:
            return KeyAction::Link;
    }
    return KeyAction::None;
}

}  // namespace

std::array<MenuEntry, 10> ContextMenuEntries(Program& program) {
    static constexpr int kCommandAt[10] = {0, 1, 2, -1, 3, 4, 5, -1, 6, 7};
    const DriveIndex row = program.main.SelectedDrive;
    // Row 0, the empty row, gives the buttons' initial captions.
    const CommandView shown = ComputeCommands(program, row >= 1 && row <= kDriveCount ? row : 0);
    std::array<MenuEntry, 10> entries;
    for (int i = 0; i < 10; ++i) {
        MenuEntry& e = entries[i];
        if (kCommandAt[i] < 0) {
            e.separator = true;
            continue;
        }
        e.command = static_cast<Command>(kCommandAt[i]);
        e.caption = shown.captions[kCommandAt[i]];
        e.enabled = program.main.Can[kCommandAt[i]];
        e.key = CommandKey(e.command, program.main.MoveMode, row == program.main.MoveSource);
    }
    return entries;
}

}  // namespace kelvra
