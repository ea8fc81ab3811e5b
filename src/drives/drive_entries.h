// A drive's entries in the settings file: "SubstPath_" + letter holds the
// folder or share ("!" before it when deactivated), "SubstPathLabel_" +
// letter the user's label.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "drives/drive_tables.h"

namespace kelvra {

struct Program;
class IniText;

inline constexpr const char* kPathKey = "SubstPath_";
inline constexpr const char* kLabelKey = "SubstPathLabel_";

// Reads the letter's two entries in `section` (SettingsSection, asked once
// for all letters) from the settings file as last read (ReadSettingsFile).
// Returns 0 when the path entry holds a non-empty value, else 2; when there
// was no settings file, returns 2 and leaves path and label as they were
// passed.
int32_t LoadDriveEntry(Program& program, const std::string& section, char letter, std::string& path,
                       std::string& label);

// Every letter's two entries in `ini` as they stand there.
std::array<StoredEntries, kDriveRows> ReadStoredEntries(const IniText& ini,
                                                        const std::string& section);

// Sets or deletes the two entries of every letter from the main table in the
// file's text. An entry naming a folder on a letter that is now a network
// drive (a subst onto a share) stays as it is. Once a scan has taken the
// basis (drives.entriesBasis), an entry the table stands for as it did then
// stays as the file has it: another program may have changed it since.
// Returns the entries the table stands for, the basis once `ini` is stored.
std::array<StoredEntries, kDriveRows> WriteDriveEntries(Program& program, IniText& ini);

}  // namespace kelvra
