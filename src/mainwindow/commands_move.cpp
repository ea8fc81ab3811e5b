// Moving a drive to another letter, by two clicks of cmdMove or by dragging
// its row onto a free row.
#include "drives/scan.h"
#include "mainwindow/commands.h"
#include "mainwindow/commands_internal.h"
#include "mainwindow/main_window.h"
#include "platform/error_mode.h"
#include "startup/settings.h"

namespace kelvra {

using commands::InTable;
using commands::IsInactive;

namespace {

// Only a subst or network drive moves, and only onto a free letter: a
// target in use would lose its own drive. A drive whose letter another
// device has taken does not move either, as it does not start a drag.
bool MayMove(Program& program, DriveIndex source, DriveIndex target) {
    const DriveTables& drives = program.drives;
    if (!InTable(source) || !InTable(target) || source == target ||
        drives.main[target].Type != kw::kFree ||
        !(IsSubst(drives, source) || IsRemote(drives, source)) ||
        IsVirtualMachineShare(drives.main[source]))
        return false;
    QuietDriveErrors quiet(program.os);
    return !LetterTakenByOtherDevice(program, Device(source));
}

}  // namespace

void cmdMove_Click(Program& program) {
    MainState& main = program.main;
    const DriveIndex selected = program.view->SelectedRow();
    if (main.MoveSource == -1) {
        if (InTable(selected) && CommandAllowedNow(program, Command::Move, selected)) {
            main.MoveMode = true;
            main.MoveSource = selected;
        }
    } else {
        // A second click on the source row cancels.
        if (selected != main.MoveSource && main.MoveMode) {
            main.SelectedDrive = main.MoveSource;
            main.MoveTarget = selected;
            ExecuteMove(program, true);
        }
        main.MoveMode = false;
        main.MoveSource = -1;
    }
    program.view->EnableMenus(!main.MoveMode);
    DisplayRefresh(program);
    program.view->FocusList();
}

void ExecuteMove(Program& program, bool fromButton) {
    MainState& main = program.main;
    const DriveIndex target = main.MoveTarget;
    // Used once: a later drag that never passes over a row must not find it.
    main.MoveTarget = -1;
    if (target == -1) return;
    const BusyScope busy(program);
    if (!fromButton) main.SelectedDrive = program.view->SelectedRow();
    MoveDrive(program, main.SelectedDrive, target);
}

bool MoveDrive(Program& program, DriveIndex source, DriveIndex target) {
    if (!MayMove(program, source, target)) return false;
    // Free at the last refresh is not free now: refused while nothing moved.
    if (commands::LetterTakenMeanwhile(program, target)) {
        program.view->SelectRow(source);
        DisplayRefresh(program);
        return false;
    }

    DriveTables& drives = program.drives;
    const DriveRecord old = drives.main[source];
    bool inactive = IsInactive(old);
    const int reconnect = ReconnectInactiveNetDrive(program, source);
    if (reconnect == kReconnectFailed) return false;
    if (reconnect == kReconnected) {
        inactive = false;
        // The rescan may have found the target taken meanwhile.
        if (drives.main[target].Type != kw::kFree) return false;
    }
    if (!DisconnectDrive(program, source)) return false;

    DriveRecord& moved = drives.main[target];
    // Set before the save below, so the label's entry moves at once.
    moved.Label = old.Label;
    bool done = true;
    if (inactive) {
        // Nothing is mapped: the remembered entry moves as it is.
        moved.Type = old.Type;
        moved.Path = old.Path;
        moved.Permanent = old.Permanent;
        moved.State = old.State;
        SaveSettings(program, program.view->CaptureLayout());
    } else if (!ConnectDrive(program, old.Path, target,
                             ExplicitPermanence(old.Permanent == kw::kYes))
                    .Connected) {
        // The drive is gone from its letter by now: back there with its
        // permanence and label, rather than lost.
        moved.Label.clear();
        PutDriveBack(program, source, old);
        done = false;
    }
    program.view->SelectRow(done ? target : source);
    DisplayRefresh(program);
    return done;
}

bool MayStartDrag(Program& program, DriveIndex row) {
    if (!InTable(row)) return false;
    const DriveTables& drives = program.drives;
    QuietDriveErrors quiet(program.os);
    return !IsVirtualMachineShare(drives.main[row]) &&
           (IsSubst(drives, row) || IsRemote(drives, row)) &&
           !LetterTakenByOtherDevice(program, Device(row));
}

bool lsvView_MouseDown(Program& program, DriveIndex row) {
    if (program.main.MoveMode) return false;
    program.main.MoveTarget = -1;
    if (!InTable(row)) return false;
    program.main.SelectedDrive = row;
    return MayStartDrag(program, row);
}

DriveIndex lsvView_DragOver(Program& program, DriveIndex row) {
    const bool free = InTable(row) && program.drives.main[row].Type == kw::kFree;
    program.main.MoveTarget = free ? row : -1;
    return free ? row : 0;
}

void lsvView_DragComplete(Program& program) {
    ExecuteMove(program, false);
}

void lsvView_DragCancel(Program& program) {
    program.main.MoveTarget = -1;
}

}  // namespace kelvra
