// The two Explorer context-menu entries: "/set=" on folders and "/cut=" on
// drives. They are made for the current user (HKEY_CURRENT_USER's file
// classes), which needs no administrator rights; on the Windows 9x family,
// which has no per-user classes, machine-wide as earlier versions made them
// everywhere. The captions they were registered under are kept in the
// program's key beside them, so that removal finds them whatever the
// language is by then.
#pragma once

#include <string>

#include "platform/os.h"

namespace kelvra {

struct Program;

constexpr char kProgramKey[] = "Software\\Brannock\\Kelvra";
constexpr char kShellContextNew[] = "ShellContextNew";
constexpr char kShellContextKill[] = "ShellContextKill";

// "Software\Classes\Directory\shell\Kelvra - " + caption, resp. "...\Drive\...",
// below HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE.
std::string FolderVerbKey(const std::string& caption);
std::string DriveVerbKey(const std::string& caption);
// The default values of the two "command" keys. The drive command goes
// through the launcher on Windows 9x; the folder command never does.
std::string FolderCommandLine(const std::string& programFolder);
std::string DriveCommandLine(const std::string& programFolder, bool isNT);

// Registering takes over entries an earlier version made machine-wide:
// each is removed where the rights allow and made for the user instead;
// where they do not, it stays and no second one is made. Removal removes
// the user's entries and, where the rights allow, the machine-wide ones.
// A failure shows a message (the administrator message when machine-wide
// entries remain). True when every entry is where it should be.
bool RegisterContextMenu(Program& program);
bool RemoveContextMenu(Program& program);
// True while any of the entries is registered, the user's or machine-wide:
// its "command" key, found by the stored caption, has a non-empty default.
bool IsContextMenuRegistered(Program& program);

// The entry Explorer shows, for the debug window: the user's when the user
// has a stored caption, else the machine-wide one.
struct ContextEntry {
    std::string caption;
    std::string command;
};
ContextEntry ShownContextEntry(Os& os, bool folder);

}  // namespace kelvra
