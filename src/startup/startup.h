// The start-up procedure: version check, folders, settings file, single
// instance, switches, settings and language, and the choice of what to run.
#pragma once

#include <string>
#include <vector>

#include "platform/os.h"

namespace kelvra {

struct Program;

// What the Windows side does once start-up has returned.
enum class Dispatch {
    End,              // nothing more: unsupported system, second instance, /autostart alone
    MainWindow,       // show the main window
    AutostartTray,    // /autostart /stay with MinimizeToSystray: hidden window, tray icon
    AutostartWindow,  // /autostart /stay without it: show the main window
    ContextCommand,   // /set= or /cut=
};

struct WindowSearchResult {
    bool found = false;
    std::vector<std::string> titles;
    std::vector<std::string> handles;     // decimal text
    std::vector<std::string> processIds;  // decimal text
    std::vector<std::string> exeNames;
    std::vector<std::uintptr_t> rawHandles;
};

// Top-level windows, in Z-order, whose title contains the fragment (case-sensitive).
WindowSearchResult SearchWindows(Os& os, const std::string& fragment);

// The name that matters to the version check: "95", "NT 3.x", "NT 4.x",
// or empty for every supported system.
std::string UnsupportedVersionName(const OsVersion& version);

// "major.minor.revision" of a file's version resource; "0.0.0" without one.
std::string VersionText(const FileVersion& version);

// The program folder of an executable path, ending in "\".
std::string FolderOf(const std::string& exePath);

// The first half of the start, which a console run shares: version check
// (false, after saying so, on a system the program does not run on),
// version, command line, user, folders and the choice of the settings file.
bool StartupFolders(Program& program);
// Windows 9x or NT, then the settings and the language they name. False
// when the chosen language cannot be used (the built-in texts stand).
bool StartupSettings(Program& program);

Dispatch RunStartup(Program& program);

}  // namespace kelvra
