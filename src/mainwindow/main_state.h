// The main window's state that the core keeps in Program: the flags the
// window, its timers and the commands share, and the commands they name.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "drives/drive_tables.h"
#include "platform/os.h"

namespace kelvra {

// The eight command buttons, in the order of the button bar.
enum class Command : int { New, Move, Kill, Fix, Deactivate, DeactivatePerm, Rename, Link };
constexpr int kCommandCount = 8;

// Main-window flags shared by the window, its timers and the commands.
struct MainState {
    // Busy scopes open: a command runs while this is not 0.
    int Busy = 0;
    bool TrayIconShown = false;
    bool MinimizedToTray = false;
    // The system announced a drive change the list has not followed yet.
    bool DrivesAnnounced = false;
    bool MoveMode = false;
    DriveIndex MoveSource = -1;
    DriveIndex MoveTarget = -1;
    DriveIndex SelectedDrive = 0;
    // The availability flags, in Command order; they keep their last values.
    std::array<bool, kCommandCount> Can{};
    bool CanDo(Command c) const { return Can[static_cast<int>(c)]; }
    // An elevated run's drive changes still to be made in the user's normal
    // session, and how the latest start there went.
    struct MirrorStep {
        DriveIndex index = 0;
        bool added = false;
        std::string target;
    };
    std::vector<MirrorStep> MirrorPending;
    LaunchResult MirrorResult = LaunchResult::Started;
};

}  // namespace kelvra
