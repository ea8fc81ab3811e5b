#include "drives/scan.h"

#include <algorithm>
#include <array>
#include <vector>

#include "drives/drive_entries.h"
#include "drives/keywords.h"
#include "drives/network.h"
#include "drives/subst.h"
#include "platform/inireg.h"
#include "program.h"
#include "shell/explorer_labels.h"
#include "util/text.h"

namespace kelvra {

namespace {

constexpr uint32_t kDriveListBufferSize = 255;

std::string WithoutTrailingBackslash(std::string path) {
    if (text::EndsWith(path, "\\")) path.pop_back();
    return path;
}

}  // namespace

std::vector<std::pair<DriveIndex, std::string>> LogicalDrives(Os& os) {
    std::string list;
    uint32_t n = os.GetLogicalDriveStrings(kDriveListBufferSize, list);
    list.resize(std::min<std::size_t>(n, list.size()));
    std::vector<std::pair<DriveIndex, std::string>> drives;
    std::size_t pos = 0;
    while (pos < list.size()) {
        std::size_t nul = list.find('\0', pos);
        if (nul == std::string::npos) nul = list.size();
        std::string root = list.substr(pos, nul - pos);
        pos = nul + 1;
        if (root.empty()) continue;
        DriveIndex index = DriveIndexOf(root[0]);
        if (index != 0) drives.emplace_back(index, root);
    }
    return drives;
}

std::string DriveTypeKeyword(Os& os, const std::string& root) {
    switch (os.GetDriveType(root)) {
        case kDriveRemovable:
            return kw::kRemovable;
        case kDriveFixed:
            return kw::kFixed;
        case kDriveRemote:
            return kw::kRemote;
        case kDriveCdrom:
            return kw::kCdrom;
        case kDriveRamdisk:
            return kw::kRamdisk;
        default:
            return kw::kUnknown;
    }
}

void ScanLocalDrives(Program& program, ScanFacts& facts) {
    auto& table = program.drives.main;
    const auto drives = LogicalDrives(program.os);
    facts.listed.fill(false);
    facts.listFailed = drives.empty();  // every machine has a drive
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        DriveRecord& row = table[i];
        row.Drive = Device(i);
        row.Type = kw::kFree;
        row.Path.clear();
        row.Permanent.clear();
        row.State.clear();
    }
    const std::string programDrive = text::Upper(program.startup.ApplicationPath.substr(0, 2));
    for (const auto& [index, root] : drives) {
        DriveRecord& row = table[index];
        facts.listed[index] = true;
        row.Type = DriveTypeKeyword(program.os, root);
        // Only ever set: a program once found on a local disk stays local.
        if (programDrive == text::Upper(row.Drive) && row.Type == kw::kFixed)
            program.startup.Local = true;
    }
}

void ScanSubstDrives(Program& program, ScanFacts& facts) {
    // One read for all letters. A file that cannot be read now keeps the
    // entries of the last read, so that no stored drive reads as gone.
    ReadSettingsFile(program);
    StartupState& startup = program.startup;
    startup.EntriesUnread = !startup.StoredRead;
    const std::string section = SettingsSection(program);
    // The entries the table was in step with until now, and those of this read.
    EntriesBasis& basis = program.drives.entriesBasis;
    const bool taken = basis.taken;
    const std::array<StoredEntries, kDriveRows> before = basis.letters;
    if (startup.StoredRead) {
        basis.taken = true;
        basis.letters = ReadStoredEntries(startup.Stored, section);
        basis.file = startup.StoredFileExists ? std::optional(startup.StoredBytes) : std::nullopt;
    }
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        DriveRecord& row = program.drives.main[i];
        std::string stored;
        std::string& label = facts.labels[i];
        label.clear();
        const int32_t status = LoadDriveEntry(program, section, DriveLetter(i), stored, label);
        const bool disabled = text::StartsWith(stored, "!");
        if (disabled) stored.erase(0, 1);
        facts.dosAnswers[i] = DosDeviceAnswer(program.os, row.Drive);
        const std::string folder = SubstTargetFromAnswer(program.os, facts.dosAnswers[i]);
        const bool remote = text::StartsWith(row.Type, kw::kRemote);
        // A subst onto a share shows as the network drive it is; a folder
        // stored for its letter is not its entry (the save keeps that as it is).
        if (remote && !folder.empty() && !stored.empty() && !IsSharePath(stored) &&
            !text::EqualsNoCase(stored, folder)) {
            stored.clear();
            label.clear();
        } else {
            if (disabled) row.State = kw::kDisabled;
            if (status == kIniOk) row.Permanent = kw::kYes;
        }
        if (!folder.empty()) row.Path = folder;
        // A letter the system reports as a network drive stays one, even
        // when it is a mapping onto a share.
        if (!remote && !folder.empty()) {
            row.Type = std::string(kw::kSubstOpen) + row.Type + ")";
        } else if (row.Path.empty() && !stored.empty()) {
            row.Type = IsSharePath(stored) ? kw::kRemoteInactive : kw::kSubstInactive;
            row.Path = stored;
        }
        if ((IsSubst(program.drives, i) || IsRemote(program.drives, i)) && !label.empty())
            row.Label = label;
        // The table keeps a label the file lacks, but one the file held as
        // the table has it and holds no more was removed by another program.
        else if (taken && before[i].Label == row.Label && !basis.letters[i].Label)
            row.Label.clear();
    }
}

void ScanNetworkDrives(Program& program, const ScanFacts& facts) {
    Os& os = program.os;
    const auto rememberedConnections = RememberedConnections(os, program.startup.NetworkKeyPrefix);
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        DriveRecord& row = program.drives.main[i];
        // A subst row stands for its settings entry, mapped or not. A
        // connection remembered or live on the same letter must neither take
        // its path nor make it permanent: the next save would store the share
        // as the drive's folder (or a temporary drive as permanent), and the
        // user's folder would be gone. A live connection there shows as a
        // conflict (LetterTakenByOtherDevice).
        if (IsSubst(program.drives, i)) continue;
        const auto found = rememberedConnections.find(DriveLetter(i));
        const bool isRemembered = found != rememberedConnections.end();
        const std::string remembered = isRemembered ? found->second : std::string();
        // Only a letter the system lists can be connected now; one
        // connection query serves both the test and the path.
        const std::string connection =
            facts.listed[i] || facts.listFailed ? ConnectionPath(os, row.Drive) : std::string();
        if (isRemembered) {
            row.Path = remembered;
            row.Permanent = kw::kYes;
        }
        if (IsSharePath(connection)) row.Path = WithoutTrailingBackslash(connection);
        if (!remembered.empty() && (row.Type == kw::kFree || row.Path.empty())) {
            row.Type = kw::kRemoteInactive;
            row.Path = remembered;
            if (!facts.labels[i].empty()) row.Label = facts.labels[i];
        }
        if (row.Type != kw::kRemote) continue;

        // A Virtual PC share shows a second "\\" and a colon in its remote
        // name, or names its redirector in the device target; VirtualBox
        // names its redirector only. VirtualBox wins when both match.
        std::size_t p = row.Path.find("\\\\");
        if (p != std::string::npos) p = row.Path.find("\\\\", p + 2);
        const bool colon = row.Path.find(':') != std::string::npos;
        const std::string targets = text::RemoveNuls(facts.dosAnswers[i]);
        if ((p != std::string::npos && colon) || text::ContainsNoCase(targets, "VMFolderSharing"))
            row.Type = kw::kRemoteVpc;
        if (text::ContainsNoCase(targets, "VBoxMiniRdr")) row.Type = kw::kRemoteVbox;
    }
}

void RefreshAll(Program& program) {
    ScanFacts facts;
    ScanLocalDrives(program, facts);
    ScanSubstDrives(program, facts);
    ScanNetworkDrives(program, facts);
    program.drives.scanned = true;
    ++program.drives.scans;
    ReconcileExplorerLabels(program);
}

namespace {

using DriveList = std::vector<std::pair<DriveIndex, std::string>>;

uint32_t DriveBits(const DriveList& drives) {
    uint32_t bits = 0;
    for (const auto& drive : drives) bits |= 1u << (drive.first - 1);
    return bits;
}

// A present letter's snapshot row and what it was asked for. The type query
// and the long-name conversion are the dear part of the check, and neither
// answer changes while the letter's device answer and its folder's presence
// stay as `basis` has them. A lost connection changes neither, so a network
// letter's connection is asked every time.
SnapshotRecord LetterNow(Os& os, DriveIndex index, const std::string& root,
                         const SnapshotRecord& known, SnapshotBasis& basis) {
    const std::string device = Device(index);
    SnapshotBasis now;
    now.Device = DosDeviceAnswer(os, device);
    const bool same = !known.RawType.empty() && basis.Device == now.Device;
    SnapshotRecord row;
    if (same && text::StartsWith(known.RawType, kw::kRemote)) {
        row.RawType = known.RawType;
        row.Path = ConnectionPath(os, device);
        return row;
    }
    const std::string folder = MappedFolderOf(now.Device);
    now.FolderThere = !folder.empty() && os.GetFileAttributes(folder) != kInvalidFileAttributes;
    if (same && basis.FolderThere == now.FolderThere) return known;
    basis = std::move(now);
    row.RawType = DriveTypeKeyword(os, root);
    row.Path = text::StartsWith(row.RawType, kw::kRemote) ? ConnectionPath(os, device)
                                                          : LongPathName(os, folder);
    return row;
}

bool CheckAgainstSnapshot(Program& program, const DriveList& drives) {
    DriveTables& tables = program.drives;
    std::array<SnapshotRecord, kDriveRows> fresh;
    std::array<SnapshotBasis, kDriveRows> basis;
    for (const auto& [index, root] : drives) {
        basis[index] = tables.snapshotBasis[index];
        fresh[index] = LetterNow(program.os, index, root, tables.snapshot[index], basis[index]);
    }
    bool changed = false;
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        SnapshotRecord& old = tables.snapshot[i];
        if (old.RawType != fresh[i].RawType || old.Path != fresh[i].Path) {
            old = fresh[i];
            changed = true;
        }
    }
    tables.snapshotBasis = std::move(basis);
    tables.snapshotDrives = DriveBits(drives);
    tables.checksSinceSnapshot = 0;
    return changed;
}

}  // namespace

bool NetworkCheck(Program& program) {
    return CheckAgainstSnapshot(program, LogicalDrives(program.os));
}

bool PollCheck(Program& program) {
    DriveTables& tables = program.drives;
    const DriveList drives = LogicalDrives(program.os);
    if (++tables.checksSinceSnapshot < kFullCheckTicks &&
        DriveBits(drives) == tables.snapshotDrives)
        return false;
    // A drive entry changed by another program (a label, a drive made
    // permanent) shows nowhere in the system's answers, only in the file.
    return CheckAgainstSnapshot(program, drives) || SettingsFileChanged(program);
}

bool LetterInUseNow(Os& os, DriveIndex index) {
    if (index < 1 || index > kDriveCount) return false;
    for (const auto& drive : LogicalDrives(os))
        if (drive.first == index) return true;
    return !DosDeviceAnswer(os, Device(index)).empty();
}

bool SubstOrNetworkNow(Os& os, DriveIndex index) {
    if (index < 1 || index > kDriveCount) return false;
    const std::string device = Device(index);
    return IsSubstDevice(os, device) || os.GetDriveType(device + "\\") == kDriveRemote ||
           IsNetworkPath(os, device);
}

bool LetterTakenByOtherDevice(Program& program, const std::string& drive) {
    if (drive.empty()) return false;
    const DriveIndex index = DriveIndexOf(drive[0]);
    if (index == 0) return false;
    Os& os = program.os;
    const DriveRecord& row = program.drives.main[index];
    const std::string device = Device(index);
    if (DriveTypeKeyword(os, device + "\\") == kw::kUnknown) return false;
    const bool disabledRemote = row.State == kw::kDisabled && IsRemote(program.drives, index);
    if (disabledRemote && !IsSharePath(ConnectionPath(os, device))) return true;
    return IsSubst(program.drives, index) && SubstTarget(os, device).empty();
}

}  // namespace kelvra
