#include "config/registration.h"

#include "language/language.h"
#include "language/messages.h"
#include "platform/inireg.h"
#include "program.h"

namespace kelvra {

namespace {

constexpr char kVerbPrefix[] = "Kelvra - ";

struct Entry {
    const char* valueName;
    TextKey caption;
    std::string (*verbKey)(const std::string&);
};
const Entry kFolderEntry{kShellContextNew, TextKey::config_shell_new, FolderVerbKey};
const Entry kDriveEntry{kShellContextKill, TextKey::config_shell_kill, DriveVerbKey};

// The stored caption of one entry. False when the value is missing: a
// present but empty caption (a pack that leaves the text empty) still
// names keys of ours, which must stay removable.
bool StoredCaption(Os& os, RegKey root, const Entry& entry, std::string& caption) {
    std::string value;
    std::string type;
    if (RegGetValue(os, root, kProgramKey, entry.valueName, value, type) != oserr::kSuccess ||
        type != "SZ")
        return false;
    caption = value;
    return true;
}

std::string CommandOf(Os& os, RegKey root, const std::string& caption, const Entry& entry) {
    std::string command;
    std::string type;
    RegGetValue(os, root, entry.verbKey(caption) + "\\command", "", command, type);
    return command;
}

// Explorer shows the entry: its command, found by the stored caption, is set.
bool Present(Os& os, RegKey root, const Entry& entry) {
    std::string caption;
    return StoredCaption(os, root, entry, caption) && !CommandOf(os, root, caption, entry).empty();
}

bool RegisterEntry(Program& program, RegKey root, const Entry& entry,
                   const std::string& commandLine) {
    Os& os = program.os;
    const std::string caption = os.WideToAnsi(Text(program.language, entry.caption));
    if (RegSetValue(os, root, kProgramKey, entry.valueName, caption, false) != oserr::kSuccess)
        return false;
    const std::string key = entry.verbKey(caption);
    if (RegCreateKey(os, root, key, false) == 0) return false;
    // A missing "command" key shows up as the failure of the next step.
    RegCreateKey(os, root, key + "\\command", false);
    return RegSetValue(os, root, key + "\\command", "", commandLine, false) == oserr::kSuccess;
}

// A key that is already gone (removed by hand, or never made because an
// earlier registration stopped half-way) is as good as deleted: reporting
// it as a failure would be wrong, and the stored caption would then never
// be cleaned up.
bool KeyDeleted(Os& os, RegKey root, const std::string& subkey) {
    const int32_t rc = RegDeleteKey(os, root, subkey);
    return rc == oserr::kSuccess || rc == oserr::kFileNotFound;
}

bool RemoveEntry(Os& os, RegKey root, const Entry& entry) {
    std::string caption;
    if (!StoredCaption(os, root, entry, caption)) return true;
    const std::string key = entry.verbKey(caption);
    return KeyDeleted(os, root, key + "\\command") && KeyDeleted(os, root, key) &&
           RegDeleteValue(os, root, kProgramKey, entry.valueName) == oserr::kSuccess;
}

}  // namespace

std::string FolderVerbKey(const std::string& caption) {
    return std::string("Software\\Classes\\Directory\\shell\\") + kVerbPrefix + caption;
}

std::string DriveVerbKey(const std::string& caption) {
    return std::string("Software\\Classes\\Drive\\shell\\") + kVerbPrefix + caption;
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
    // The Windows 9x family knows no per-user classes.
    const bool perUser = program.startup.IsNT;
    const RegKey root = perUser ? kHkeyCurrentUser : kHkeyLocalMachine;
    const struct {
        const Entry& entry;
        std::string commandLine;
    } entries[] = {{kFolderEntry, FolderCommandLine(folder)},
                   {kDriveEntry, DriveCommandLine(folder, program.startup.IsNT)}};
    bool done = RegKeyOpenable(os, root, kProgramKey) == oserr::kSuccess ||
                RegCreateKey(os, root, kProgramKey, false) != 0;
    for (const auto& e : entries) {
        if (!done) break;
        // Explorer would list a machine-wide entry beside the user's: the
        // user's replaces it, unless it cannot be removed and still serves.
        if (perUser && Present(os, kHkeyLocalMachine, e.entry)) {
            RemoveEntry(os, kHkeyLocalMachine, e.entry);
            if (Present(os, kHkeyLocalMachine, e.entry)) continue;
        }
        done = RegisterEntry(program, root, e.entry, e.commandLine);
    }
    if (!done)
        ShowError(program,
                  perUser ? TextKey::config_msgshell_error : TextKey::config_msgshell_errornoadmin);
    return done;
}

bool RemoveContextMenu(Program& program) {
    Os& os = program.os;
    bool userDone = true;
    for (const Entry* entry : {&kFolderEntry, &kDriveEntry})
        userDone = RemoveEntry(os, kHkeyCurrentUser, *entry) && userDone;
    // Only entries Explorer still shows count as left: a stale caption
    // without its keys is not worth an administrator message.
    for (const Entry* entry : {&kFolderEntry, &kDriveEntry})
        RemoveEntry(os, kHkeyLocalMachine, *entry);
    const bool machineLeft =
        Present(os, kHkeyLocalMachine, kFolderEntry) || Present(os, kHkeyLocalMachine, kDriveEntry);
    if (machineLeft)
        ShowError(program, TextKey::config_msgshell_errornoadmin);
    else if (!userDone)
        ShowError(program, TextKey::config_msgshell_error);
    return userDone && !machineLeft;
}

bool IsContextMenuRegistered(Program& program) {
    for (RegKey root : {kHkeyCurrentUser, kHkeyLocalMachine})
        for (const Entry* entry : {&kFolderEntry, &kDriveEntry})
            if (Present(program.os, root, *entry)) return true;
    return false;
}

ContextEntry ShownContextEntry(Os& os, bool folder) {
    const Entry& entry = folder ? kFolderEntry : kDriveEntry;
    ContextEntry shown;
    RegKey root = kHkeyCurrentUser;
    if (!StoredCaption(os, root, entry, shown.caption)) {
        root = kHkeyLocalMachine;
        StoredCaption(os, root, entry, shown.caption);
    }
    shown.command = CommandOf(os, root, shown.caption, entry);
    return shown;
}

}  // namespace kelvra
