// Small pieces the drive command files share.
#pragma once

#include <string>
#include <string_view>

#include "drives/drive_tables.h"
#include "drives/keywords.h"
#include "program.h"
#include "util/text.h"

namespace kelvra::commands {

inline bool InTable(DriveIndex index) {
    return index >= 1 && index <= kDriveCount;
}

// "K:" for index 11.
inline std::string Device(DriveIndex index) {
    return std::string(1, DriveLetter(index)) + ":";
}

// A path beginning with two backslashes names a share; every other path a
// local folder, whose drive letter is its first character.
inline bool IsSharePath(std::string_view path) {
    return text::StartsWith(path, "\\\\");
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

}  // namespace kelvra::commands
