// The drive scan: fills the main drive table from the operating system, the
// stored drive entries and the user's persistent network connections; and the
// cheap network check that notices drives changed behind the program's back.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "drives/drive_tables.h"
#include "platform/os.h"

namespace kelvra {

struct Program;

// Rewrites Drive, Type, Path, Permanent and State of rows 1..26 (Label only
// where one is stored, or where the stored one the table had is gone) in
// three passes whose order matters: each relies on what the earlier ones
// wrote. Marks the table scanned and takes drives.entriesBasis; may set Local.
void RefreshAll(Program& program);

// What one scan learns once and hands from pass to pass: which letters the
// system lists, each letter's DOS-device answer (asked once per scan), and
// the stored labels, so that a letter the network pass turns into an
// inactive network row keeps its label too.
struct ScanFacts {
    std::array<bool, kDriveRows> listed{};
    bool listFailed = false;  // no drive list: any letter may hold a drive
    std::array<std::string, kDriveRows> dosAnswers;
    std::array<std::string, kDriveRows> labels;
};

// The three passes, called by RefreshAll in this order.
void ScanLocalDrives(Program& program, ScanFacts& facts);
void ScanSubstDrives(Program& program, ScanFacts& facts);
void ScanNetworkDrives(Program& program, const ScanFacts& facts);

// True when a letter's raw drive type or path differs from the snapshot
// table; brings the snapshot up to date in the same step. The type and path
// of a letter whose DOS-device answer (and, for a subst letter, the presence
// of its folder) is as it was are not asked again; a network letter's
// connection always is.
bool NetworkCheck(Program& program);

// The poll timer's check, made every second. Only the drive list is asked,
// unless it differs from the one of the snapshot or this is the
// kFullCheckTicks-th call since the snapshot was taken: then NetworkCheck,
// which also sees what the list does not (a folder deleted behind a subst
// letter, a network connection gone) and compares the settings file with the
// one the drive entries come from. True when either saw a change.
constexpr int kFullCheckTicks = 5;
bool PollCheck(Program& program);

// Index and root of each logical drive the system reports, in its order. A
// failed call or an answer that did not fit yields none; an entry that is not
// a letter root is left out.
std::vector<std::pair<DriveIndex, std::string>> LogicalDrives(Os& os);

// "REMOVABLE", "FIXED", "REMOTE", "CDROM", "RAMDISK" or "UNKNOWN"; never "FREE".
std::string DriveTypeKeyword(Os& os, const std::string& root);

// What a letter is at this moment, asked of the system: the table may be
// older than the dialog the user has just answered.
// True when anything stands at the letter: a disk, a subst or a network drive.
bool LetterInUseNow(Os& os, DriveIndex index);
// True when the letter is a subst drive or a network drive.
bool SubstOrNetworkNow(Os& os, DriveIndex index);

// True when the letter `drive` begins with holds a remembered entry of the
// program that is not live now while another device occupies the letter.
// False for anything that does not begin with a letter A..Z.
bool LetterTakenByOtherDevice(Program& program, const std::string& drive);

}  // namespace kelvra
