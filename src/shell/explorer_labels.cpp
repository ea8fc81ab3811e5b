#include "shell/explorer_labels.h"

#include <algorithm>
#include <optional>

#include "drives/drive_entries.h"
#include "drives/keywords.h"
#include "drives/subst.h"
#include "platform/inireg.h"
#include "program.h"
#include "util/text.h"

namespace kelvra {

namespace {

std::string LetterKey(DriveIndex index) {
    return std::string(kExplorerDrivesKey) + '\\' + DriveLetter(index);
}

std::optional<std::string> TextValue(Os& os, RegKey key, const char* name) {
    uint32_t type = kRegNone;
    uint32_t size = kRegReadBufferSize;
    std::string data;
    if (os.RegQueryValueEx(key, name, &type, &data, &size) != oserr::kSuccess || type != kRegSz)
        return std::nullopt;
    data.resize(std::min<std::size_t>(size, data.size()));
    return text::CutAtNul(data);
}

// The label an open DefaultLabel key holds when it is ours, else nullopt.
std::optional<std::string> OurLabel(Os& os, RegKey key) {
    const auto mark = TextValue(os, key, kExplorerLabelMark);
    if (!mark || TextValue(os, key, "") != mark) return std::nullopt;
    return mark;
}

void ReadOnce(Program& program) {
    ExplorerLabelKeys& keys = program.explorerLabels;
    if (keys.read) return;
    keys.read = true;
    Os& os = program.os;
    RegKey drives = 0;
    if (os.RegOpenKeyEx(kHkeyCurrentUser, kExplorerDrivesKey, kRegReadAccess, drives) !=
        oserr::kSuccess)
        return;
    std::string name;
    for (uint32_t n = 0; os.RegEnumKeyEx(drives, n, name) == oserr::kSuccess; ++n) {
        const DriveIndex index = name.size() == 1 ? DriveIndexOf(name[0]) : 0;
        RegKey key = 0;
        if (index == 0 || os.RegOpenKeyEx(kHkeyCurrentUser, ExplorerLabelKey(index), kRegReadAccess,
                                          key) != oserr::kSuccess)
            continue;
        keys.held[index] = OurLabel(os, key).value_or("");
        os.RegCloseKey(key);
    }
    os.RegCloseKey(drives);
}

void WriteKey(Os& os, DriveIndex index, const std::string& label) {
    RegKey key = 0;
    uint32_t disposition = 0;
    if (os.RegCreateKeyEx(kHkeyCurrentUser, ExplorerLabelKey(index), kRegWriteAccess, key,
                          disposition) != oserr::kSuccess)
        return;
    if (disposition == kRegCreatedNewKey || OurLabel(os, key)) {
        os.RegSetValueEx(key, "", kRegSz, label + '\0');
        os.RegSetValueEx(key, kExplorerLabelMark, kRegSz, label + '\0');
    }
    os.RegCloseKey(key);
}

void RemoveKey(Os& os, DriveIndex index) {
    RegKey key = 0;
    if (os.RegOpenKeyEx(kHkeyCurrentUser, ExplorerLabelKey(index), kRegReadAccess, key) !=
        oserr::kSuccess)
        return;
    const bool ours = OurLabel(os, key).has_value();
    os.RegCloseKey(key);
    // The letter's key goes too unless it holds more (an icon of its own):
    // a key with subkeys is not deleted.
    if (ours && os.RegDeleteKey(kHkeyCurrentUser, ExplorerLabelKey(index)) == oserr::kSuccess)
        os.RegDeleteKey(kHkeyCurrentUser, LetterKey(index));
}

// One registry visit per change of what the letter should show; a key that
// turns out to be someone else's is not asked again this run.
void Hold(Program& program, DriveIndex index, const std::string& label) {
    ReadOnce(program);
    std::string& held = program.explorerLabels.held[index];
    if (held == label) return;
    if (label.empty())
        RemoveKey(program.os, index);
    else
        WriteKey(program.os, index, label);
    held = label;
}

bool ActiveSubst(const DriveRecord& row) {
    return row.Type == kw::kSubstInterim ||
           (text::StartsWith(row.Type, kw::kSubstOpen) && row.Type != kw::kSubstInactive &&
            row.State != kw::kDisabled);
}

// The label a letter should show by the table.
std::string RowLabel(const Program& program, DriveIndex index) {
    const DriveRecord& row = program.drives.main[index];
    return program.settings.ExplorerLabels && ActiveSubst(row) ? row.Label : std::string();
}

// Before a scan: the stored label of a letter mapped to its stored folder.
std::string StoredLabel(Program& program, DriveIndex index, const std::string& mapped) {
    std::string path;
    std::string label;
    if (!program.settings.ExplorerLabels ||
        LoadDriveEntry(program, SettingsSection(program), DriveLetter(index), path, label) !=
            kIniOk ||
        mapped.empty() || text::StartsWith(path, "!") || IsSharePath(path))
        return {};
    return label;
}

}  // namespace

std::string ExplorerLabelKey(DriveIndex index) {
    return LetterKey(index) + "\\DefaultLabel";
}

void KeepExplorerLabel(Program& program, DriveIndex index, DriveChange change,
                       const std::string& target) {
    std::string label;
    if (change == DriveChange::Relabelled) {
        label = RowLabel(program, index);
    } else if (change == DriveChange::Added && !IsSharePath(target) &&
               program.settings.ExplorerLabels) {
        // The commands set the row's label before they map the letter;
        // before a scan (the logon's restore) the stored one counts.
        label = program.drives.scanned ? program.drives.main[index].Label
                                       : StoredLabel(program, index, target);
    }
    Hold(program, index, label);
}

void ReconcileExplorerLabels(Program& program) {
    ReadOnce(program);
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        if (program.drives.scanned)
            Hold(program, i, RowLabel(program, i));
        else if (!program.explorerLabels.held[i].empty())
            Hold(program, i, StoredLabel(program, i, SubstTarget(program.os, Device(i))));
    }
}

}  // namespace kelvra
