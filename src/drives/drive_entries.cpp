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

std::array<StoredEntries, kDriveRows> ReadStoredEntries(const IniText& ini,
                                                        const std::string& section) {
    std::array<StoredEntries, kDriveRows> entries;
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        const std::string letter(1, DriveLetter(i));
        std::string value;
        if (ini.Get(section, kPathKey + letter, value)) entries[i].Path = value;
        if (ini.Get(section, kLabelKey + letter, value)) entries[i].Label = value;
    }
    return entries;
}

std::array<StoredEntries, kDriveRows> WriteDriveEntries(Program& program, IniText& ini) {
    const std::string section = SettingsSection(program);
    const EntriesBasis& basis = program.drives.entriesBasis;
    std::array<StoredEntries, kDriveRows> wanted = basis.letters;
    const auto put = [&](const std::string& key, const std::optional<std::string>& value,
                         const std::optional<std::string>& before) {
        if (basis.taken && value == before) return;
        if (value)
            ini.Set(section, key, *value);
        else
            ini.Delete(section, key);
    };
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        const DriveRecord& row = program.drives.main[i];
        const std::string letter(1, DriveLetter(i));
        const bool subst = IsSubst(program.drives, i);
        const bool remote = IsRemote(program.drives, i);
        // A live network row over a stored folder is a subst onto a share
        // on that letter: the entry is the user's folder, not this drive's,
        // and stays as stored.
        if (remote && row.Type != kw::kRemoteInactive && StoredFolderUnder(ini, section, letter))
            continue;
        const bool disabled = row.State == kw::kDisabled;
        StoredEntries& entries = wanted[i];
        entries = {};
        if (row.Permanent == kw::kYes && (subst || (remote && disabled)))
            entries.Path = disabled ? "!" + row.Path : row.Path;
        if ((subst || remote) && !row.Label.empty()) entries.Label = row.Label;
        put(kPathKey + letter, entries.Path, basis.letters[i].Path);
        put(kLabelKey + letter, entries.Label, basis.letters[i].Label);
    }
    return wanted;
}

}  // namespace kelvra
