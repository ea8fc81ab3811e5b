#include "drives/drive_entries.h"

#include "drives/keywords.h"
#include "platform/inireg.h"
#include "program.h"
#include "util/text.h"

namespace kelvra {

namespace {

// True when the letter's stored path entry names a folder (a subst entry,
// active or deactivated), not a share.
bool StoredFolderUnder(const IniText& ini, const std::string& section, const std::string& letter) {
    std::string stored;
    if (!ini.Get(section, kPathKey + letter, stored)) return false;
    if (text::StartsWith(stored, "!")) stored.erase(0, 1);
    return !stored.empty() && !IsSharePath(stored);
}

}  // namespace

int32_t LoadDriveEntry(Program& program, const std::string& section, char letter, std::string& path,
                       std::string& label) {
    StartupState& startup = program.startup;
    if (!startup.StoredFileExists) {
        startup.LastStatus = kIniFailed;
        return kIniFailed;
    }
    const std::string upper(1, text::UpperAscii(letter));
    int32_t status = kIniFailed;
    path = StoredValue(startup, section, kPathKey + upper, "", status);
    startup.LastStatus = status;
    int32_t ignored = 0;
    label = StoredValue(startup, section, kLabelKey + upper, "", ignored);
    return status;
}

void WriteDriveEntries(Program& program, IniText& ini) {
    const std::string section = SettingsSection(program);
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        const DriveRecord& row = program.drives.main[i];
        const std::string letter(1, DriveLetter(i));
        const bool subst = IsSubst(program.drives, i);
        const bool remote = IsRemote(program.drives, i);
        // A live network row over a stored folder is a subst onto a share
        // on that letter: the entry is the user's folder, not this drive's,
        // and stays as stored.
        const bool foreign =
            remote && row.Type != kw::kRemoteInactive && StoredFolderUnder(ini, section, letter);
        const bool disabled = row.State == kw::kDisabled;
        const bool keepsPath = row.Permanent == kw::kYes && (subst || (remote && disabled));
        if (keepsPath)
            ini.Set(section, kPathKey + letter, disabled ? "!" + row.Path : row.Path);
        else if (!foreign)
            ini.Delete(section, kPathKey + letter);
        if ((subst || remote) && !row.Label.empty())
            ini.Set(section, kLabelKey + letter, row.Label);
        else if (!foreign)
            ini.Delete(section, kLabelKey + letter);
    }
}

}  // namespace kelvra
