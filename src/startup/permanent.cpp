#include "startup/permanent.h"

#include <array>
#include <utility>
#include <vector>

#include "drives/drive_entries.h"
#include "drives/keywords.h"
#include "drives/scan.h"
#include "drives/subst.h"
#include "platform/inireg.h"
#include "program.h"
#include "shell/drive_changes.h"
#include "shell/explorer_labels.h"
#include "shell/normal_session.h"
#include "util/text.h"

namespace kelvra {

namespace {

RestoreSummary RestoreStoredDrives(Program& program, DriveIndex index) {
    RestoreSummary summary;
    if (!ValidDriveIndex(index)) return summary;
    // Each session restores its own drives at logon; the normal one needs
    // no copy of an elevated restore.
    const SessionOnlyScope sessionOnly(program);
    const DriveIndex first = index == 0 ? 1 : index;
    const DriveIndex last = index == 0 ? kDriveCount : index;
    // An unreadable file keeps the entries of the last read (none at start).
    ReadSettingsFile(program);
    // Every entry is read before any letter is defined, so that no definition
    // can change where the settings file path leads.
    std::vector<std::pair<DriveIndex, std::string>> stored;
    const std::string section = SettingsSection(program);
    for (DriveIndex i = first; i <= last; ++i) {
        std::string path;
        std::string label;
        if (LoadDriveEntry(program, section, DriveLetter(i), path, label) != kIniOk) continue;
        // "!" marks a deactivated drive; "\\" a network drive, which Windows
        // restores itself and which must never become a subst mapping.
        if (text::StartsWith(path, "!") || IsSharePath(path)) continue;
        stored.emplace_back(i, path);
    }
    if (stored.empty()) return summary;
    // A definition on a letter in use stacks over its device for the whole
    // session: it would hide a stick on E:, or the system disk on C: and the
    // settings file with it. Only letters the system reports free are
    // defined; the others keep their entry, which the list shows as a
    // conflict. Without a drive list no letter is known to be free.
    std::array<bool, kDriveRows> inUse{};
    const auto drives = LogicalDrives(program.os);
    if (drives.empty()) {
        summary.failed = stored;
        return summary;
    }
    for (const auto& drive : drives) inUse[drive.first] = true;
    for (const auto& [i, path] : stored) {
        if (inUse[i]) {
            // Restored before (an earlier run, or the logon's) is no failure.
            const std::string target = SubstTarget(program.os, Device(i));
            const bool there =
                !target.empty() && (text::EqualsNoCase(target, path) ||
                                    text::EqualsNoCase(target, LongPathName(program.os, path)));
            if (!there) summary.failed.emplace_back(i, path);
            continue;
        }
        const bool defined = MapFolderDrive(program, i, path);
        program.startup.LastStatus = defined ? 1 : 0;
        if (defined)
            ++summary.restored;
        else
            summary.failed.emplace_back(i, path);
    }
    return summary;
}

}  // namespace

RestoreSummary RestorePermanentDrives(Program& program, DriveIndex index) {
    const RestoreSummary summary = RestoreStoredDrives(program, index);
    // The logon is the first moment after the drives of the last session
    // vanished: the labels they left in Explorer go before another device
    // takes their letters.
    if (index == 0) ReconcileExplorerLabels(program);
    return summary;
}

std::string AutostartCommand(const Program& program) {
    std::string command = "\"" + program.startup.ApplicationPath + "Kelvra.exe\" /autostart";
    if (program.settings.AutostartStay) command += " /stay";
    return command;
}

namespace {

// Whether the settings file, as last read or written, stores a subst drive
// that the logon restores. A save keeps the entries another program wrote
// meanwhile (a drive made permanent from the console a moment ago); the
// table has not seen them yet, and the autostart entry must not go.
bool StoresRestoredSubst(Program& program) {
    const StartupState& startup = program.startup;
    if (!startup.StoredFileExists) return false;
    const std::string section = SettingsSection(program);
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        std::string path;
        if (startup.Stored.Get(section, kPathKey + std::string(1, DriveLetter(i)), path) &&
            !path.empty() && path[0] != '!' && !IsSharePath(path))
            return true;
    }
    return false;
}

}  // namespace

void UpdateAutostartEntry(Program& program) {
    StartupState& startup = program.startup;
    if (!startup.Local) return;
    const bool wanted = HasActivePermanentSubst(program.drives) || StoresRestoredSubst(program) ||
                        program.settings.PermAutostart;
    // An unscanned table knows nothing of the stored drives: removing the
    // value then could cost the user the restore at the next logon.
    if (!wanted && !program.drives.scanned) return;
    Os& os = program.os;
    RegKey key = 0;
    uint32_t disposition = 0;
    // Opens the Run key, or makes it where it is missing.
    startup.LastStatus =
        os.RegCreateKeyEx(kHkeyCurrentUser, kRunKey, kRegWriteAccess, key, disposition);
    if (startup.LastStatus != oserr::kSuccess) return;
    if (wanted) {
        // Every save comes here: a value that already holds the command is
        // left as it is rather than written again.
        const std::string command = AutostartCommand(program) + '\0';
        std::string stored;
        uint32_t type = kRegNone;
        uint32_t size = static_cast<uint32_t>(command.size());
        const bool same =
            os.RegQueryValueEx(key, kRunValue, &type, &stored, &size) == oserr::kSuccess &&
            type == kRegSz && stored == command;
        if (!same) startup.LastStatus = os.RegSetValueEx(key, kRunValue, kRegSz, command);
    } else {
        os.RegDeleteValue(key, kRunValue);
    }
    const int32_t closed = os.RegCloseKey(key);
    if (startup.LastStatus == oserr::kSuccess) startup.LastStatus = closed;
}

}  // namespace kelvra
