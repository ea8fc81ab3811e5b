// The main window's logic: the list rows, the status bar, the command
// availability, the busy bracket, hints and the poll. Every procedure works on
// the Program and reaches the window only through program.view.
#pragma once

#include <string>

#include "drives/drive_tables.h"
#include "language/language.h"
#include "mainwindow/main_view.h"
#include "platform/os.h"

namespace kelvra {

struct Program;

// --- the list ----------------------------------------------------------------

// The shown text of a type keyword, composite keywords piece by piece
// ("SUBST (FIXED)" becomes "Subst-Laufwerk (Festplatte)").
std::wstring TypeText(const LanguageState& language, const std::string& keyword);
// Volume label and file-system name of the root of the drive's first letter;
// empty when the query fails or the name is empty.
std::string VolumeLabel(Os& os, const std::string& drive);
std::string FileSystemName(Os& os, const std::string& drive);
// One row of the list computed from the main drive table.
RowView ComputeRow(Program& program, DriveIndex index);
// The main window's caption; it marks an elevated run.
std::wstring MainWindowTitle(Program& program);
// The status-bar panels and the path column's caption.
StatusView ComputeStatus(Program& program);

// Rewrites every row from the main table (and the list drive table from the
// shown texts), runs UpdateCommands, then DisplayStatus.
void Display(Program& program);
void DisplayStatus(Program& program);
// Takes the answers the workers sent and shows the rows of the current scan
// they complete; an answer of an older scan, or one later than
// kAnswerGiveUp, is dropped. The window calls it when woken.
void ShowDriveAnswers(Program& program);
// Scans with the busy indicator on, then Display.
void DisplayRefresh(Program& program);
// Next device-name mode (0, 1, 2, 0 ...) and Display, inside a BusyScope; does
// nothing on Windows 9x.
void SwitchDeviceNames(Program& program);

// --- selection -----------------------------------------------------------------

// Availability, captions and warning colours of the eight buttons for a row.
CommandView ComputeCommands(Program& program, DriveIndex index);
// Reads the list's selection into SelectedDrive and, for a row 1..26, stores
// the availability flags and applies the buttons.
void UpdateCommands(Program& program);
// A row of the list was clicked or selected by key.
void lsvView_ItemClick(Program& program);
// Whether the command is allowed for the row as the system has it now: the
// list is refreshed first when the cheap check sees a change. A menu or
// popup stays open while the poll runs, so its choice may be older than the
// row.
bool CommandAllowedNow(Program& program, Command command, DriveIndex index);

// --- busy, hints, poll ---------------------------------------------------------

// The busy state of a command: button bar disabled, busy indicator on, the
// poll paused. Scopes nest; the last one to close ends the state, on every
// way out, also when the command throws: a busy state that stays would keep
// the button bar disabled and the poll stopped until a restart. Ending it
// focuses the list and applies the buttons for its selection again.
class BusyScope {
  public:
    explicit BusyScope(Program& program);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    Program& program_;
};
// The hints a start brings, once the window stands.
void ShowStartHints(Program& program);
// Shows hint n while its flag in ShowHints is "1".
void ShowHint(Program& program, int number);
// ShowHints after the hint's check box was ticked (flag "0") or not ("1").
std::string HintFlagsAfterCheck(const std::string& showHints, int hintNumber, bool ticked);
// What closing the window does to the drives and settings: rescans, so the
// saved entries reflect the current state, and saves.
void ScanAndSaveAtUnload(Program& program);
// One tick of the poll timer. `normalState`: the window is neither minimized
// nor maximized. Refreshes when the poll's check saw a change, or when a
// drive change was announced while the list could not follow it.
void PollTick(Program& program, bool normalState);
// The system announced that a volume came or went: the list follows at once,
// or, while a command runs or the window is not in its normal state, at the
// next tick that polls.
void DriveChangeAnnounced(Program& program, bool normalState);

}  // namespace kelvra
