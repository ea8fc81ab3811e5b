// The drive commands of the main window: new and change, permanent and
// temporary, activate and deactivate, permanent deactivation, disconnect,
// move, rename and the desktop shortcut. Each button has one entry,
// cmdXxx_Click, that works on the list's selected row (program.view) inside
// the busy bracket; whether a command is offered for that row is decided by
// lsvView_ItemClick, so the entries do not ask again.
#pragma once

#include <string>
#include <string_view>

#include "drives/drive_tables.h"

namespace kelvra {

struct Program;

// --- new and change --------------------------------------------------------------

// Who decides whether ConnectDrive makes a drive permanent: the settings
// (and then a desktop shortcut may be wanted), or the caller.
enum class Permanence { FromSettings, Permanent, Temporary };
inline Permanence ExplicitPermanence(bool permanent) {
    return permanent ? Permanence::Permanent : Permanence::Temporary;
}

struct ConnectResult {
    bool Connected = false;     // the letter now stands for the folder or share
    bool WantShortcut = false;  // a desktop shortcut is to be made silently
};

// Maps `path` to the letter: a subst drive for a local folder (on its short
// form), a network drive for a path beginning with "\\". Applies the
// permanence, saves the settings, and shows the error box when the mapping
// fails. The context-command defaults apply while ContextPath is set.
ConnectResult ConnectDrive(Program& program, const std::string& path, DriveIndex index,
                           Permanence permanence);

// Results of ReconnectInactiveNetDrive.
constexpr int kReconnectNothingToDo = 0;
constexpr int kReconnected = 1;
constexpr int kReconnectFailed = 2;
// Connects a remembered, not deactivated network drive again before it is
// changed or moved, then rescans (without redrawing) so the row is current.
int ReconnectInactiveNetDrive(Program& program, DriveIndex index);

// Maps a drive that was just disconnected again, at its letter, with its
// old folder or share, permanence and label. When even that fails, a drive
// that was stored stays remembered as an inactive entry, so no stored drive
// is lost.
void PutDriveBack(Program& program, DriveIndex index, const DriveRecord& old);

// The wide text of the folder chooser or an input box in the system code
// page. False when a character has no code of its own there: a look-alike
// would name another folder or file.
bool ToCodePage(Program& program, const std::wstring& text, std::string& out);

// Whether a folder on this letter is refused for a new drive: the letter is
// a subst or network drive now, or was mapped as one at the last scan. A
// stored entry alone decides nothing: on a letter a disk has taken since,
// the disk's folders are taken.
bool FolderOnSubstOrNetworkDrive(Program& program, DriveIndex folderDrive);

// What New and Change do once the folder or share is chosen: refuses a
// folder on a subst or network drive and a path too long, then makes a
// new drive on a free letter (with the given permanence) or gives a subst
// or network drive the new path (keeping its permanence), and refreshes.
// True when the letter now stands for the path; a refusal or failure has
// been shown.
bool NewOrChangeDrive(Program& program, DriveIndex index, const std::string& path,
                      Permanence permanence);
void cmdNew_Click(Program& program);

// --- permanent, activate, deactivate, disconnect ------------------------------------

// Removes the mapping of a subst or network drive and forgets the row (its
// settings entries are deleted). Asks first for a live drive while warnings
// are on. True when the letter is no longer mapped, also when nothing was
// mapped. A drive that is still mapped after a failed remove keeps its row
// and entries, and the result is false.
bool DisconnectDrive(Program& program, DriveIndex index);

// What the buttons do for a row they are offered for (the caller checks
// that): toggle the permanence; deactivate an active drive or activate an
// inactive one; deactivate for good (the start-up restore skips it). Each
// saves and refreshes when it went ahead, and shows its failures.
void ToggleDrivePermanence(Program& program, DriveIndex index);
void ToggleDriveActivation(Program& program, DriveIndex index);
void DeactivateDrivePermanently(Program& program, DriveIndex index);

void cmdFix_Click(Program& program);
void cmdDeactivate_Click(Program& program);
void cmdDeactivateperm_Click(Program& program);
void cmdKill_Click(Program& program);

// --- move ---------------------------------------------------------------------------

// First click: chooses the drive to move. Second click: moves it to the
// selected free row, or cancels on the source row.
void cmdMove_Click(Program& program);
// Moves the drive of SelectedDrive (fromButton) or of the list's selected
// row (a drag) to MoveTarget, which must be a free row.
void ExecuteMove(Program& program, bool fromButton);
// Moves a subst or network drive to a free letter, with its permanence and
// label. True when it stands at the target now; false when the move was
// refused or failed (then the drive is back at its letter, or still there).
bool MoveDrive(Program& program, DriveIndex source, DriveIndex target);

// Whether a drag may start on a row: a subst or network drive that is no
// virtual-machine share and whose letter is not taken by another device.
bool MayStartDrag(Program& program, DriveIndex row);
// Left button down on a row (0 = none): selects it; true when a drag may start.
bool lsvView_MouseDown(Program& program, DriveIndex row);
// Dragging over a row (0 = none): sets MoveTarget. Returns the row to
// highlight as the drop target, or 0: only free rows take a drop.
DriveIndex lsvView_DragOver(Program& program, DriveIndex row);
// The user dropped: moves onto the last free row passed over, if any.
void lsvView_DragComplete(Program& program);
// The drag ended without a drop (Esc, the capture taken by another window):
// nothing moves, and no target is left for a later drop.
void lsvView_DragCancel(Program& program);

// --- rename and desktop shortcut -------------------------------------------------------

// Longest own label a drive keeps.
constexpr std::size_t kMaxLabelLength = 256;

// The text without control characters (codes below 32) and without the
// characters \ / : * ? " < > |, which file names and labels may not hold.
std::wstring RemoveInvalidChars(std::wstring_view text);

// Gives the drive its own label (cleaned, cut to kMaxLabelLength), or
// removes it for an empty text or "*", then saves and refreshes. False when
// nothing was stored: a text of nothing but invalid characters, or one the
// code page cannot hold (said so).
bool SetDriveLabel(Program& program, DriveIndex index, const std::wstring& text);
// The own label when there is one, else the volume's, as shown in the list.
std::wstring ShownLabel(Program& program, DriveIndex index);

void EditDriveLabel(Program& program, DriveIndex index);
void cmdRename_Click(Program& program);

// Puts a shortcut to the drive on the user's desktop. silent: with the
// default name, without asking.
void CreateDesktopShortcut(Program& program, DriveIndex index, bool silent);
// The name the shortcut question offers: the default name and the label.
std::wstring OfferedShortcutName(Program& program, DriveIndex index);
// Writes the shortcut with this name (cleaned and cut to fit). False when
// there is none: no desktop folder known (silently), or a failure shown.
bool CreateNamedShortcut(Program& program, DriveIndex index, std::wstring name);
void cmdLink_Click(Program& program);

}  // namespace kelvra
