// The user's own drive labels where Explorer looks for a drive's name: the
// per-user DefaultLabel key of each letter. Only keys this program wrote
// (marked by a value of its own beside the label) are ever changed or
// removed; a label someone else set for a letter stays as it is.
#pragma once

#include <array>
#include <string>

#include "drives/drive_tables.h"
#include "shell/drive_changes.h"

namespace kelvra {

struct Program;

// HKEY_CURRENT_USER: <kExplorerDrivesKey>\<letter>\DefaultLabel, default
// value the label. The mark is a value holding the label as written: a key
// whose default value no longer equals it was changed by someone else and is
// no longer ours.
constexpr char kExplorerDrivesKey[] = "Software\\Classes\\Applications\\Explorer.exe\\Drives";
constexpr char kExplorerLabelMark[] = "KelvraLabel";

// What each letter's key was last set to hold (empty: no key of ours),
// taken from the registry once per run and kept up to date by every change
// since, so that a scan which changed nothing asks the registry nothing.
struct ExplorerLabelKeys {
    bool read = false;
    std::array<std::string, kDriveRows> held;
};

// The registry path of a letter's label key.
std::string ExplorerLabelKey(DriveIndex index);

// Part of AfterDriveChange: a letter mapped to a folder gets its label (the
// row's, or before a scan the stored one), an unmapped or unlabelled one
// loses the key.
void KeepExplorerLabel(Program& program, DriveIndex index, DriveChange change,
                       const std::string& target);

// Brings every letter's key in step with the drives: after a scan from the
// table (active, labelled subst drives, while Settings::ExplorerLabels is
// on); before one, for the keys of ours only, from the stored entries of the
// letters mapped now. A subst drive vanishes at logoff without a word, and
// its key would name whatever takes the letter next.
void ReconcileExplorerLabels(Program& program);

}  // namespace kelvra
