// Small pieces the drive command files share.
#pragma once

#include <functional>
#include <string>

#include "drives/drive_tables.h"
#include "drives/keywords.h"
#include "program.h"
#include "util/text.h"

namespace kelvra::commands {

inline bool InTable(DriveIndex index) {
    return index >= 1 && index <= kDriveCount;
}

// An inactive or deactivated entry: nothing is mapped at the letter for it.
inline bool IsInactive(const DriveRecord& row) {
    return text::ContainsNoCase(row.Type, kw::kInactive);
}

// Drives made or disconnected for an Explorer context command follow the
// context-command settings.
inline bool InContextCommand(const Program& program) {
    return !program.context.ContextPath.empty();
}

// The row the command works on, taken from the list, when the command is
// allowed for it as it is now; else 0, and the command does nothing. Called
// inside the command's BusyScope.
DriveIndex AllowedRow(Program& program, Command command);

// True, after saying so, when the letter is in use now although the table
// had it free: a stick plugged in or a drive mapped by another program while
// a dialog or question was open.
bool LetterTakenMeanwhile(Program& program, DriveIndex index);

// The folder chooser's result, wide as the shell gives it (the caller turns
// it into the code page): a chosen drive root ("C:") gets its backslash;
// empty when the user cancels, after onCancel (which re-selects the list row).
std::wstring BrowseForFolder(Ui& ui, const std::wstring& title,
                             const std::function<void()>& onCancel = {});

}  // namespace kelvra::commands
