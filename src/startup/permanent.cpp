#include "startup/permanent.h"

#include "drives/keywords.h"
#include "program.h"
#include "startup/inireg.h"
#include "util/text.h"

namespace kelvra {

static const std::string kPathKey = "SubstPath_";
static const std::string kLabelKey = "SubstPathLabel_";

int32_t LoadDriveEntry(Program& program, char letter, std::string& path, std::string& label) {
    StartupState& startup = program.startup;
    if (!FileExists(program.os, startup.IniFilePath)) {
        startup.LastStatus = kIniFailed;
        return kIniFailed;
    }
    const std::string section = SettingsSection(startup);
    const std::string upper(1, text::UpperAscii(letter));
    int32_t status = kIniFailed;
    path = ReadIniString(program.os, startup.IniFilePath, section, kPathKey + upper, "", status);
    startup.LastStatus = status;
    int32_t ignored = 0;
    label = ReadIniString(program.os, startup.IniFilePath, section, kLabelKey + upper, "", ignored);
    return status;
}

void RestorePermanentDrives(Program& program, DriveIndex index) {
    if (!ValidDriveIndex(index)) return;
    DriveIndex first = index == 0 ? 1 : index;
    DriveIndex last = index == 0 ? kDriveCount : index;
    for (DriveIndex i = first; i <= last; ++i) {
        const char letter = DriveLetter(i);
        std::string path;
        std::string label;
        if (LoadDriveEntry(program, letter, path, label) != kIniOk) continue;
        // "!" marks a deactivated drive; "\\" a network drive, which Windows
        // restores itself and which must never become a subst mapping.
        if (text::StartsWith(path, "!") || text::StartsWith(path, "\\\\")) continue;
        const std::string device = std::string(1, letter) + ":";
        program.startup.LastStatus = program.os.DefineDosDevice(0, device, &path) ? 1 : 0;
    }
}

void WriteDriveEntries(Program& program) {
    StartupState& startup = program.startup;
    const std::string section = SettingsSection(startup);
    const std::string& file = startup.IniFilePath;
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        const DriveRecord& row = program.drives.main[i];
        const std::string letter(1, DriveLetter(i));
        const bool subst = IsSubst(program.drives, i);
        const bool remote = IsRemote(program.drives, i);
        const bool disabled = row.State == kw::kDisabled;
        const bool keepsPath = row.Permanent == kw::kYes && (subst || (remote && disabled));
        if (keepsPath)
            startup.LastStatus = WriteIniString(program.os, file, section, kPathKey + letter,
                                                disabled ? "!" + row.Path : row.Path);
        else
            startup.LastStatus = DeleteIniKey(program.os, file, section, kPathKey + letter);
        if ((subst || remote) && !row.Label.empty())
            startup.LastStatus =
                WriteIniString(program.os, file, section, kLabelKey + letter, row.Label);
        else
            startup.LastStatus = DeleteIniKey(program.os, file, section, kLabelKey + letter);
    }
}

std::string AutostartCommand(const Program& program) {
    std::string command = "\"" + program.startup.ApplicationPath + "Kelvra.exe\" /autostart";
    if (program.settings.AutostartStay) command += " /stay";
    return command;
}

void UpdateAutostartEntry(Program& program) {
    StartupState& startup = program.startup;
    if (!startup.Local) return;
    Os& os = program.os;
    startup.LastStatus = RegKeyOpenable(os, kHkeyCurrentUser, kRunKey);
    if (startup.LastStatus != oserr::kSuccess)
        startup.LastStatus =
            static_cast<int32_t>(RegCreateKey(os, kHkeyCurrentUser, kRunKey, false));
    if (!HasActivePermanentSubst(program.drives) && !program.settings.PermAutostart) {
        // An unscanned table knows nothing of the stored drives: removing the
        // value then could cost the user the restore at the next logon.
        if (!program.drives.scanned) return;
        startup.LastStatus = RegDeleteValue(os, kHkeyCurrentUser, kRunKey, kRunValue);
        return;
    }
    startup.LastStatus =
        RegSetValue(os, kHkeyCurrentUser, kRunKey, kRunValue, AutostartCommand(program), false);
}

}  // namespace kelvra
