// Permanent drive entries in the settings file and the Windows autostart entry.
#pragma once

#include <string>

#include "drives/drive_tables.h"

namespace kelvra {

struct Program;

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Kelvra";

// Re-creates the stored, not deactivated subst drives of one letter, or of
// all letters for index 0, on letters the system does not use. Silent: no
// messages; an entry not restored stays stored.
void RestorePermanentDrives(Program& program, DriveIndex index);

// The Run value's command: quoted program path, " /autostart", maybe " /stay".
std::string AutostartCommand(const Program& program);
// Writes or removes the Run value; leaves it alone unless Local.
void UpdateAutostartEntry(Program& program);

}  // namespace kelvra
