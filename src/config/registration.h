// The two Explorer context-menu entries: "/set=" on folders and "/cut=" on
// drives, under HKEY_CLASSES_ROOT, with the captions they were registered
// under kept in the program's machine-wide key so that removal finds them
// whatever the language is by then.
#pragma once

#include <string>

namespace kelvra {

struct Program;

constexpr char kProgramKey[] = "Software\\Brannock\\Kelvra";
constexpr char kShellContextNew[] = "ShellContextNew";
constexpr char kShellContextKill[] = "ShellContextKill";

// "directory\shell\Kelvra - " + caption, resp. "drive\shell\...".
std::string FolderVerbKey(const std::string& caption);
std::string DriveVerbKey(const std::string& caption);
// The default values of the two "command" keys. The drive command goes
// through the launcher on Windows 9x; the folder command never does.
std::string FolderCommandLine(const std::string& programFolder);
std::string DriveCommandLine(const std::string& programFolder, bool isNT);

// Both write or delete step by step and stop at the first failure without
// undoing the steps before it; a failure shows the administrator message.
// True when every step succeeded.
bool RegisterContextMenu(Program& program);
bool RemoveContextMenu(Program& program);
// The folder command counts: its "command" key, found by the stored
// caption, has a non-empty default value.
bool IsContextMenuRegistered(Program& program);

}  // namespace kelvra
