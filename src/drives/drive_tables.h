// The drive record and the three drive tables, addressed by DriveIndex
// (1 = A ... 26 = Z; 0 = no drive, a row that stays empty).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvra {

using DriveIndex = int;
constexpr DriveIndex kDriveCount = 26;
constexpr int kDriveRows = 27;  // rows 0..26

struct DriveRecord {
    std::string Drive;      // "A:" ... "Z:"
    std::string Type;       // a type keyword
    std::string Path;       // folder (long form) or remote name without trailing "\"
    std::string Permanent;  // "YES" or empty
    std::string State;      // "DISABLED" or empty
    std::string Label;      // the user's own label; only kept for subst and network rows
};

struct SnapshotRecord {
    std::string RawType;  // keyword from the drive type alone; empty when no drive
    std::string Path;     // remote name of a network letter, else its subst folder
};

// What a snapshot row was asked for: the letter's DOS-device answer and, for
// a subst letter, whether its folder was there.
struct SnapshotBasis {
    std::string Device;
    bool FolderThere = false;
};

struct ListRecord {
    std::string Drive;
    std::string Permanent;
    std::string Type;
    std::string Path;
};

// A letter's two entries in the settings file (nullopt: the key is absent).
struct StoredEntries {
    std::optional<std::string> Path;
    std::optional<std::string> Label;
};

// What the table's drive entries were last in step with: the settings file as
// a scan took them from it or a save put them there. Another program may
// change the file meanwhile; a save writes only the entries the table has
// changed since, and the poll refreshes the list when the file's bytes differ.
struct EntriesBasis {
    bool taken = false;  // false until a scan: a save then writes every entry
    std::array<StoredEntries, kDriveRows> letters;
    std::optional<std::string> file;  // the file's bytes (nullopt: there was none)
};

struct DriveTables {
    std::array<DriveRecord, kDriveRows> main;
    std::array<SnapshotRecord, kDriveRows> snapshot;
    std::array<SnapshotBasis, kDriveRows> snapshotBasis;
    // The drive list the snapshot was taken from (bit 0 is A:), and the poll
    // checks made since.
    uint32_t snapshotDrives = 0;
    int checksSinceSnapshot = 0;
    std::array<ListRecord, kDriveRows> list;
    // True once a scan has filled the main table. Until then the table says
    // nothing about the stored drives, and saving must not rewrite them.
    bool scanned = false;
    // Counts the scans; answers asked for one scan belong to it alone.
    uint64_t scans = 0;
    EntriesBasis entriesBasis;
};

// Letter for an index 1..26; '\0' for anything else.
char DriveLetter(DriveIndex index);
// Index of a letter in either case; 0 for anything that is not A..Z.
DriveIndex DriveIndexOf(char letter);
bool ValidDriveIndex(DriveIndex index);
// "K:" for index 11.
std::string Device(DriveIndex index);

// A path beginning with two backslashes names a share; every other path a
// local folder, whose drive letter is its first character.
bool IsSharePath(std::string_view path);
// Shared folders of a virtual machine ("REMOTEVPC", "REMOTEVBOX") look like
// network drives but belong to the machine, not to the user.
bool IsVirtualMachineShare(const DriveRecord& row);

// All three answer false for row 0 and for an index outside 0..26.
bool IsSubst(const DriveTables& tables, DriveIndex index);
bool IsRemote(const DriveTables& tables, DriveIndex index);
// A subst or network drive of the user's: one the drive commands work on.
bool IsManagedDrive(const DriveTables& tables, DriveIndex index);
bool HasActivePermanentSubst(const DriveTables& tables);

}  // namespace kelvra
