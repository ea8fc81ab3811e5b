#include "mainwindow/menus.h"

#include "mainwindow/main_window.h"
#include "program.h"

namespace kelvra {

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
    }
    return entries;
}

}  // namespace kelvra
