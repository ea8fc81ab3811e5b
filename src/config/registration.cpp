#include "config/registration.h"

#include "language/language.h"
#include "language/messages.h"
#include "platform/inireg.h"
#include "program.h"

namespace kelvra {

namespace {

constexpr char kVerbPrefix[] = "Kelvra - ";

// The stored caption of one entry. False when the value is missing: a
// present but empty caption (a pack that leaves the text empty) still
// names keys of ours, which must stay removable.
bool StoredCaption(Program& program, const char* valueName, std::string& caption) {
    std::string value;
    std::string type;
    if (RegGetValue(program.os, kHkeyLocalMachine, kProgramKey, valueName, value, type) !=
            oserr::kSuccess ||
        type != "SZ")
        return false;
    caption = value;
    return true;
}

// Steps 2 to 5 (resp. 6 to 9) of the registration of one entry.
bool RegisterEntry(Program& program, const char* valueName, TextKey captionKey,
                   const std::string& verbKey, const std::string& commandLine) {
    Os& os = program.os;
    const std::string caption = os.WideToAnsi(Text(program.language, captionKey));
    if (RegSetValue(os, kHkeyLocalMachine, kProgramKey, valueName, caption, false) !=
        oserr::kSuccess)
        return false;
    const std::string key = verbKey + caption;
    if (RegCreateKey(os, kHkeyClassesRoot, key, false) == 0) return false;
    // A missing "command" key shows up as the failure of the next step.
    RegCreateKey(os, kHkeyClassesRoot, key + "\\command", false);
    return RegSetValue(os, kHkeyClassesRoot, key + "\\command", "", commandLine, false) ==
           oserr::kSuccess;
}

// A key that is already gone (removed by hand, or never made because an
// earlier registration stopped half-way) is as good as deleted: reporting
// it as missing administrator rights would be wrong, and the stored caption
// would then never be cleaned up.
bool KeyDeleted(Os& os, const std::string& subkey) {
    const int32_t rc = RegDeleteKey(os, kHkeyClassesRoot, subkey);
    return rc == oserr::kSuccess || rc == oserr::kFileNotFound;
}

bool RemoveEntry(Program& program, const char* valueName, const std::string& verbKey) {
    Os& os = program.os;
    std::string caption;
    if (!StoredCaption(program, valueName, caption)) return true;
    const std::string key = verbKey + caption;
    return KeyDeleted(os, key + "\\command") && KeyDeleted(os, key) &&
           RegDeleteValue(os, kHkeyLocalMachine, kProgramKey, valueName) == oserr::kSuccess;
}

}  // namespace

std::string FolderVerbKey(const std::string& caption) {
    return std::string("directory\\shell\\") + kVerbPrefix + caption;
}

std::string DriveVerbKey(const std::string& caption) {
    return std::string("drive\\shell\\") + kVerbPrefix + caption;
}

std::string FolderCommandLine(const std::string& programFolder) {
    return "\"" + programFolder + "Kelvra.exe\" /set=\"%1\"";
}

std::string DriveCommandLine(const std::string& programFolder, bool isNT) {
    return "\"" + programFolder + (isNT ? "Kelvra.exe" : "Kelvrashell.exe") + "\" /cut=\"%1\"";
}

bool RegisterContextMenu(Program& program) {
    Os& os = program.os;
    const std::string& folder = program.startup.ApplicationPath;
    const bool done =
        (RegKeyOpenable(os, kHkeyLocalMachine, kProgramKey) == oserr::kSuccess ||
         RegCreateKey(os, kHkeyLocalMachine, kProgramKey, false) != 0) &&
        RegisterEntry(program, kShellContextNew, TextKey::config_shell_new, FolderVerbKey(""),
                      FolderCommandLine(folder)) &&
        RegisterEntry(program, kShellContextKill, TextKey::config_shell_kill, DriveVerbKey(""),
                      DriveCommandLine(folder, program.startup.IsNT));
    if (!done) ShowError(program, TextKey::config_msgshell_errornoadmin);
    return done;
}

bool RemoveContextMenu(Program& program) {
    const bool done = RemoveEntry(program, kShellContextNew, FolderVerbKey("")) &&
                      RemoveEntry(program, kShellContextKill, DriveVerbKey(""));
    if (!done) ShowError(program, TextKey::config_msgshell_errornoadmin);
    return done;
}

bool IsContextMenuRegistered(Program& program) {
    std::string caption;
    if (!StoredCaption(program, kShellContextNew, caption)) return false;
    std::string command;
    std::string type;
    RegGetValue(program.os, kHkeyClassesRoot, FolderVerbKey(caption) + "\\command", "", command,
                type);
    return !command.empty();
}

}  // namespace kelvra
