// Permanent drive entries in the settings file and the Windows autostart entry.
#pragma once

#include <cstdint>
#include <string>

#include "drives/drive_tables.h"
#include "startup/ini_text.h"

namespace kelvra {

struct Program;

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Kelvra";

// Reads "SubstPath_" + letter and "SubstPathLabel_" + letter from the settings
// file as last read (ReadSettingsFile). Returns 0 when the path entry holds a
// non-empty value, else 2; when there was no settings file, returns 2 and
// leaves path and label as they were passed.
int32_t LoadDriveEntry(Program& program, char letter, std::string& path, std::string& label);

// Re-creates the stored, not deactivated subst drives of one letter, or of
// all letters for index 0, on letters the system does not use. Silent: no
// messages; an entry not restored stays stored.
void RestorePermanentDrives(Program& program, DriveIndex index);

// Sets or deletes the two entries of every letter from the main table in the
// file's text. An entry naming a folder on a letter that is now a network
// drive (a subst onto a share) stays as it is.
void WriteDriveEntries(Program& program, IniText& ini);

// The Run value's command: quoted program path, " /autostart", maybe " /stay".
std::string AutostartCommand(const Program& program);
// Writes or removes the Run value; leaves it alone unless Local.
void UpdateAutostartEntry(Program& program);

}  // namespace kelvra
