// The New and Change command, and the connect procedures the other commands
// share with it.
#include "drives/network.h"
#include "drives/scan.h"
#include "drives/subst.h"
#include "language/messages.h"
#include "mainwindow/commands.h"
#include "mainwindow/commands_internal.h"
#include "mainwindow/main_window.h"
#include "platform/error_mode.h"
#include "platform/inireg.h"
#include "shell/drive_changes.h"

namespace kelvra {

using commands::InContextCommand;
using commands::InTable;
using commands::IsInactive;

DriveIndex commands::AllowedRow(Program& program, Command command) {
    program.main.SelectedDrive = program.view->SelectedRow();
    const DriveIndex index = program.main.SelectedDrive;
    return CommandAllowedNow(program, command, index) ? index : 0;
}

std::wstring commands::BrowseForFolder(Ui& ui, const std::wstring& title,
                                       const std::function<void()>& onCancel) {
    std::wstring path = ui.BrowseForFolder(title);
    path = path.substr(0, path.find(L'\0'));
    if (path.empty()) {
        if (onCancel) onCancel();
        return {};
    }
    if (path.size() == 2 && path[1] == L':') path += L'\\';
    return path;
}

bool commands::LetterTakenMeanwhile(Program& program, DriveIndex index) {
    bool taken;
    {
        QuietDriveErrors quiet(program.os);
        taken = LetterInUseNow(program.os, index);
    }
    if (taken) ShowError(program, TextKey::main_msgadddrive_errortaken, index);
    return taken;
}

bool ToCodePage(Program& program, const std::wstring& text, std::string& out) {
    if (program.os.WideToAnsiExact(text, out)) return true;
    out.clear();
    ShowError(program, TextKey::main_msgchars_error);
    return false;
}

namespace {

ConnectResult ConnectSubst(Program& program, const std::string& path, DriveIndex index,
                           Permanence permanence) {
    Os& os = program.os;
    const Settings& s = program.settings;
    const bool context = InContextCommand(program);
    const bool fromSettings = permanence == Permanence::FromSettings;
    const bool permanent = fromSettings
                               ? (context ? s.SubstDefaultPermanentSCE : s.SubstDefaultPermanent)
                               : permanence == Permanence::Permanent;
    ConnectResult result;
    // The mapping is made on the short form and the table keeps the long one;
    // a folder of which either cannot be formed (it vanished, or the form is
    // too long to hold) cannot be a drive the program can show and restore.
    const std::string shortPath = ShortPathName(os, path);
    const std::string longPath = LongPathName(os, path);
    if (shortPath.empty() || longPath.empty() || !MapFolderDrive(program, index, shortPath)) {
        ShowError(program, PathTooLongForSubst(os, path) ? TextKey::main_msgadddrive_errorlong
                                                         : TextKey::main_msgadddrive_errorsubst);
        return result;
    }
    DriveRecord& row = program.drives.main[index];
    // Interim type until the refresh, so the save keeps the row's label.
    row.Type = kw::kSubstInterim;
    row.State.clear();
    if (permanent && program.startup.Local) {
        row.Permanent = kw::kYes;
        row.Path = longPath;
    } else {
        // Without a fixed local disk nothing would restore it at logon.
        row.Permanent.clear();
    }
    SaveSettings(program, program.view->CaptureLayout());
    result.Connected = true;
    result.WantShortcut = fromSettings && permanent && program.startup.Local &&
                          (context ? s.SubstPermanentLinkSCE : s.SubstPermanentLink);
    return result;
}

ConnectResult ConnectShare(Program& program, const std::string& path, DriveIndex index,
                           Permanence permanence) {
    const Settings& s = program.settings;
    const bool context = InContextCommand(program);
    const bool fromSettings = permanence == Permanence::FromSettings;
    const bool permanent = fromSettings
                               ? (context ? s.NetDefaultPermanentSCE : s.NetDefaultPermanent)
                               : permanence == Permanence::Permanent;
    ConnectResult result;
    if (!ConnectShareDrive(program, index, path, permanent)) {
        ShowError(program, TextKey::main_msgadddrive_errornet);
        return result;
    }
    DriveRecord& row = program.drives.main[index];
    row.Type = kw::kRemote;
    // A permanent network drive lives in the user's persistent connections,
    // which the next scan reads back; the settings file holds no entry for it.
    row.Permanent.clear();
    row.State.clear();
    SaveSettings(program, program.view->CaptureLayout());
    result.Connected = true;
    result.WantShortcut =
        fromSettings && permanent && (context ? s.NetPermanentLinkSCE : s.NetPermanentLink);
    return result;
}

// How a change of a drive in use ended.
enum class Changed { NotStarted, Done, Failed };

// Change of a drive in use. NotStarted when the command ends without a
// refresh; Failed when the drive could not take the new path (it is put
// back as it was).
Changed ChangeDrive(Program& program, DriveIndex index, const std::string& path) {
    if (ReconnectInactiveNetDrive(program, index) == kReconnectFailed) return Changed::NotStarted;
    DriveRecord& row = program.drives.main[index];
    if (IsInactive(row)) {
        // Only the remembered path changes; Activate maps it.
        row.Permanent = kw::kYes;
        row.Path = path;
        if (IsSharePath(path)) {
            // The settings file keeps a network row only while it is
            // deactivated: stored so, the drive survives the save.
            row.Type = kw::kRemoteInactive;
            row.State = kw::kDisabled;
        } else {
            row.Type = kw::kSubstInactive;
        }
        SaveSettings(program, program.view->CaptureLayout());
        return Changed::Done;
    }
    const DriveRecord old = row;
    if (!DisconnectDrive(program, index)) return Changed::NotStarted;
    // The own label stays with the letter, whatever it now stands for.
    row.Label = old.Label;
    const Permanence permanence = ExplicitPermanence(old.Permanent == kw::kYes);
    if (ConnectDrive(program, path, index, permanence).Connected) return Changed::Done;
    PutDriveBack(program, index, old);
    return Changed::Failed;
}

}  // namespace

ConnectResult ConnectDrive(Program& program, const std::string& path, DriveIndex index,
                           Permanence permanence) {
    if (!InTable(index)) return {};
    // Never mapped over what took the letter meanwhile: a subst definition
    // would even stack on it.
    if (commands::LetterTakenMeanwhile(program, index)) return {};
    return IsSharePath(path) ? ConnectShare(program, path, index, permanence)
                             : ConnectSubst(program, path, index, permanence);
}

int ReconnectInactiveNetDrive(Program& program, DriveIndex index) {
    if (!InTable(index)) return kReconnectNothingToDo;
    const DriveRecord& row = program.drives.main[index];
    if (!IsRemote(program.drives, index) || !IsInactive(row) || !row.State.empty() ||
        (!row.Permanent.empty() && row.Permanent != kw::kYes))
        return kReconnectNothingToDo;
    const std::string share = row.Path;
    Os& os = program.os;
    const bool connected = ConnectShareDrive(program, index, share, row.Permanent == kw::kYes);
    const int result = connected && DirExists(os, share) ? kReconnected : kReconnectFailed;
    QuietDriveErrors quiet(os);
    RefreshAll(program);
    return result;
}

void PutDriveBack(Program& program, DriveIndex index, const DriveRecord& old) {
    if (!InTable(index)) return;
    DriveRecord& row = program.drives.main[index];
    const bool wasPermanent = old.Permanent == kw::kYes;
    row.Label = old.Label;
    if (ConnectDrive(program, old.Path, index, ExplicitPermanence(wasPermanent)).Connected) {
        // The same folder as before: it keeps its entry even where a new
        // drive would not be made permanent (program not on a local disk).
        if (wasPermanent && !IsSharePath(old.Path) && row.Permanent != kw::kYes) {
            row.Permanent = kw::kYes;
            row.Path = old.Path;
            SaveSettings(program, program.view->CaptureLayout());
        }
        return;
    }
    if (!wasPermanent) return;  // a temporary drive was never stored
    // Remembered as an inactive entry, which Activate maps again.
    row.Path = old.Path;
    row.Permanent = kw::kYes;
    if (IsSharePath(old.Path)) {
        row.Type = kw::kRemoteInactive;
        row.State = kw::kDisabled;
    } else {
        row.Type = kw::kSubstInactive;
        row.State = old.State;
    }
    SaveSettings(program, program.view->CaptureLayout());
}

bool FolderOnSubstOrNetworkDrive(Program& program, DriveIndex folderDrive) {
    QuietDriveErrors quiet(program.os);
    if (SubstOrNetworkNow(program.os, folderDrive)) return true;
    // A drive mapped at the last scan and removed while the chooser was open
    // took its folders with it. A stored entry that is not mapped (also on
    // a letter a disk has taken since) is no reason to refuse.
    const DriveTables& drives = program.drives;
    return InTable(folderDrive) &&
           (IsSubst(drives, folderDrive) || IsRemote(drives, folderDrive)) &&
           !IsInactive(drives.main[folderDrive]);
}

bool NewOrChangeDrive(Program& program, DriveIndex index, const std::string& path,
                      Permanence permanence) {
    if (!InTable(index) || path.empty()) return false;
    DriveTables& drives = program.drives;
    const bool newDrive = drives.main[index].Type == kw::kFree;
    // Only a subst or network drive takes another folder: anything else
    // would be cleared and then shadowed by the new mapping.
    if (!newDrive && !IsManagedDrive(drives, index)) return false;

    if (!IsSharePath(path)) {
        const DriveIndex folderDrive = DriveIndexOf(path[0]);
        if (FolderOnSubstOrNetworkDrive(program, folderDrive)) {
            ShowError(program, TextKey::main_msgnew_error);
            return false;
        }
        // Refused before a change disconnects the drive it would replace.
        if (PathTooLongForSubst(program.os, path)) {
            ShowError(program, TextKey::main_msgadddrive_errorlong);
            return false;
        }
        // A drive root: subst drives on it confuse the recycle bin.
        if (path.size() < 4 && folderDrive != 0) ShowHint(program, 2);
    }

    ConnectResult connected;
    bool done = false;
    if (newDrive) {
        // Whatever label a vanished drive left in the row is not this drive's.
        drives.main[index].Label.clear();
        drives.main[index].State.clear();
        connected = ConnectDrive(program, path, index, permanence);
        done = connected.Connected;
    } else {
        const Changed changed = ChangeDrive(program, index, path);
        if (changed == Changed::NotStarted) return false;
        done = changed == Changed::Done;
    }
    DisplayRefresh(program);
    if (connected.WantShortcut) CreateDesktopShortcut(program, index, true);
    return done;
}

void cmdNew_Click(Program& program) {
    const BusyScope busy(program);
    const DriveIndex index = commands::AllowedRow(program, Command::New);
    if (!InTable(index)) return;
    DriveTables& drives = program.drives;
    const bool newDrive = drives.main[index].Type == kw::kFree;
    if (!newDrive && !IsManagedDrive(drives, index)) return;
    const std::wstring chosen =
        commands::BrowseForFolder(program.ui, FolderChoiceTitle(program, index, newDrive),
                                  [&] { program.view->SelectRow(index); });
    std::string path;
    if (chosen.empty() || !ToCodePage(program, chosen, path)) return;
    NewOrChangeDrive(program, index, path, Permanence::FromSettings);
}

}  // namespace kelvra
