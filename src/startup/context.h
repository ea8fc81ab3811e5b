// The Explorer context commands: "/set=" + folder makes a drive for that
// folder on a free letter the user picks from a popup; "/cut=" + drive
// disconnects that drive. Each runs in a process of its own, through the main
// window loaded hidden, and follows the context-command settings ("...SCE").
#pragma once

#include <string>
#include <vector>

#include "drives/drive_tables.h"
#include "platform/os.h"

namespace kelvra {

struct Program;

// The folder a context command works on, or empty when there is none:
// without a trailing backslash (a drive root keeps its own), with a server
// given as "\\Text (NAME)" turned into "\\NAME", a file replaced by its
// folder. Only absolute paths count ("X:\..." or "\\..."); a relative one
// would name whatever the current folder happens to be.
std::string NormalizeContextPath(Os& os, const std::string& path);

// Sets ContextConnect and ContextPath from the unchanged command line, which
// must begin with "/set=" or "/cut=" (any case) followed by the path;
// quotation marks anywhere in the path are dropped. True when the main
// window is to be loaded hidden so that its load runs ContextCommand; false
// when the run is to end silently (no switch in front, a path that names
// nothing, or one whose long form cannot be formed).
bool StartContextCommand(Program& program, const std::string& commandLine);

// The letters the connect popup offers: every row that is "FREE".
std::vector<DriveIndex> FreeLetters(const Program& program);

// Runs the command that StartContextCommand set up: the letter popup (and,
// on a choice, mnuShell_Click) for "/set=", the disconnect for "/cut=".
// Refusals are explained in an error box. Does nothing without a ContextPath.
void ContextCommand(Program& program);

// A letter chosen in the popup: connects ContextPath to it with the
// context-command defaults, rescans, and makes the automatic desktop
// shortcut when those defaults ask for one. Letters that are not free are
// ignored.
void mnuShell_Click(Program& program, DriveIndex index);

}  // namespace kelvra
