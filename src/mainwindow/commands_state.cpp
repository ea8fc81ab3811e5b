// Permanent/Temporary, Activate/Deactivate, permanent deactivation and
// Disconnect.
#include "drives/network.h"
#include "drives/subst.h"
#include "language/messages.h"
#include "mainwindow/commands.h"
#include "mainwindow/commands_internal.h"
#include "mainwindow/main_window.h"
#include "platform/error_mode.h"
#include "platform/inireg.h"
#include "shell/drive_changes.h"

namespace kelvra {

using commands::AllowedRow;
using commands::InContextCommand;
using commands::InTable;
using commands::IsInactive;

namespace {

// The end of every state command that went ahead.
void SaveAndRefresh(Program& program) {
    SaveSettings(program, program.view->CaptureLayout());
    DisplayRefresh(program);
}

// Connects the share again with the given persistence; true when it is
// reachable afterwards.
bool ReconnectShare(Program& program, const std::string& share, DriveIndex index, bool persistent) {
    return ConnectShareDrive(program, index, share, persistent) && DirExists(program.os, share);
}

}  // namespace

bool DisconnectDrive(Program& program, DriveIndex index) {
    if (!InTable(index)) return false;
    DriveTables& drives = program.drives;
    const bool remote = IsRemote(drives, index);
    const bool live = (remote || IsSubst(drives, index)) && !IsInactive(drives.main[index]);
    if (live &&
        !ConfirmDisconnect(program, TextKey::main_reqdeldrive, index, InContextCommand(program)))
        return false;
    Os& os = program.os;
    const std::string device = Device(index);
    bool stillMapped = false;
    if (remote) {
        stillMapped =
            DisconnectShareDrive(program, index) != oserr::kSuccess && IsNetworkPath(os, device);
    } else {
        stillMapped = !UnmapFolderDrive(program, index) && !SubstTarget(os, device).empty();
    }
    // A drive that is verifiably still there keeps its row, its entries and
    // its label. Where nothing is mapped (also an inactive entry) the row is
    // forgotten.
    if (stillMapped) return false;
    drives.main[index] = DriveRecord{};
    drives.main[index].Drive = device;
    SaveSettings(program, program.view->CaptureLayout());
    return true;
}

void cmdFix_Click(Program& program) {
    const BusyScope busy(program);
    ToggleDrivePermanence(program, AllowedRow(program, Command::Fix));
}

void ToggleDrivePermanence(Program& program, DriveIndex index) {
    if (!InTable(index)) return;
    DriveRecord& row = program.drives.main[index];
    if (IsRemote(program.drives, index)) {
        // The connection is made again with the other persistence.
        if (!ConfirmDisconnect(program, TextKey::main_reqfix, index, false)) return;
        const std::string share = row.Path;
        const bool wasPermanent = row.Permanent == kw::kYes;
        DisconnectShareDrive(program, index);
        // The drive is disconnected by now and gone from the profile: with
        // the other persistence, else as it was, else kept as a deactivated
        // entry; never lost.
        const bool toggled = ConnectShareDrive(program, index, share, !wasPermanent);
        if (toggled || ConnectShareDrive(program, index, share, wasPermanent)) {
            // The next scan reads path and permanence back from the system.
            row.Path.clear();
            row.Permanent.clear();
            row.State.clear();
        } else {
            row.Type = kw::kRemoteInactive;
            row.Path = share;
            row.Permanent = kw::kYes;
            row.State = kw::kDisabled;
        }
        if (!toggled) ShowError(program, TextKey::main_msgadddrive_errornet);
    } else {
        row.Permanent = row.Permanent == kw::kYes ? "" : kw::kYes;
    }
    SaveAndRefresh(program);
}

void cmdDeactivate_Click(Program& program) {
    const BusyScope busy(program);
    ToggleDriveActivation(program, AllowedRow(program, Command::Deactivate));
}

void ToggleDriveActivation(Program& program, DriveIndex index) {
    if (!InTable(index)) return;
    DriveRecord& row = program.drives.main[index];
    Os& os = program.os;
    if (IsInactive(row)) {
        const bool subst = IsSubst(program.drives, index);
        bool ok = false;
        if (subst) {
            std::string shortPath;
            {
                // A folder on an empty card reader must fail quietly, not
                // ask for a disk.
                QuietDriveErrors quiet(os);
                shortPath = ShortPathName(os, row.Path);
            }
            ok = MapFolderDrive(program, index, shortPath);
        } else {
            // Always remembered: the persistent connection now stands for
            // the drive, and the settings file loses its entry at the save.
            ok = ReconnectShare(program, row.Path, index, true);
            if (ok) {
                row.Path.clear();
                row.Permanent.clear();
            }
        }
        if (ok)
            row.State.clear();
        else
            ShowError(program, subst ? TextKey::main_msgactivate_errorsubst
                                     : TextKey::main_msgactivate_errornet);
    } else {
        if (!ConfirmDisconnect(program, TextKey::main_reqactivate_kill, index, false)) return;
        // The row keeps path, permanence and label: the scan shows it inactive.
        UnmapFolderDrive(program, index);
    }
    SaveAndRefresh(program);
}

void cmdDeactivateperm_Click(Program& program) {
    const BusyScope busy(program);
    DeactivateDrivePermanently(program, AllowedRow(program, Command::DeactivatePerm));
}

void DeactivateDrivePermanently(Program& program, DriveIndex index) {
    if (!InTable(index)) return;
    DriveRecord& row = program.drives.main[index];
    if (!IsInactive(row)) {
        if (!ConfirmDisconnect(program, TextKey::main_reqdeactivateperm, index, false)) return;
        if (IsSubst(program.drives, index))
            UnmapFolderDrive(program, index);
        else
            DisconnectShareDrive(program, index);
    }
    // Stored with "!" before the path: the start-up restore skips it.
    row.State = kw::kDisabled;
    SaveAndRefresh(program);
}

void cmdKill_Click(Program& program) {
    const BusyScope busy(program);
    const DriveIndex index = AllowedRow(program, Command::Kill);
    if (!InTable(index)) return;
    DisconnectDrive(program, index);
    DisplayRefresh(program);
}

}  // namespace kelvra
