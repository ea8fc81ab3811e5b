// Permanent drive entries in the settings file and the Windows autostart entry.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "drives/drive_tables.h"

namespace kelvra {

struct Program;

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Kelvra";

// What a restore did: the letters defined, and the entries it could not
// restore (the letter in use by something else, or the definition refused)
// with their stored folder. An entry whose letter already stands for its
// folder counts as neither.
struct RestoreSummary {
    int restored = 0;
    std::vector<std::pair<DriveIndex, std::string>> failed;
};

// Re-creates the stored, not deactivated subst drives of one letter, or of
// all letters for index 0, on letters the system does not use. Silent: no
// messages; an entry not restored stays stored.
RestoreSummary RestorePermanentDrives(Program& program, DriveIndex index);

// The Run value's command: quoted program path, " /autostart", maybe " /stay".
std::string AutostartCommand(const Program& program);
// Writes or removes the Run value; leaves it alone unless Local.
void UpdateAutostartEntry(Program& program);

}  // namespace kelvra
