// Subst drives: letters that stand for a folder, made and removed in the
// DOS-device table, and the path-form conversions they depend on.
#pragma once

#include <string>

#include "platform/os.h"

namespace kelvra {

// A device's raw DOS-device answer (targets separated by NULs, latest first),
// cut to the characters the call reported; empty for answers of two
// characters or less, which name no target.
std::string DosDeviceAnswer(Os& os, const std::string& device);

// Maps a device ("K:") to a folder. False when the call fails, and without a
// call when the device is not a letter with a colon or the folder is empty.
bool DefineSubst(Os& os, const std::string& device, const std::string& folder);

// Removes the device's most recent definition. Refuses (false, nothing
// removed) when that definition is not a mapping to a folder, so a stale
// table row can never take a disk's or a connection's letter away.
bool RemoveSubst(Os& os, const std::string& device);

// True when the device's current definition maps it to a folder or share
// (a subst drive, also one whose folder is gone).
bool IsSubstDevice(Os& os, const std::string& device);

// The folder a letter currently stands for, in long-name form; empty when the
// letter is not a subst drive or its folder no longer exists.
std::string SubstTarget(Os& os, const std::string& device);
// The same from a DOS-device answer already asked (DosDeviceAnswer), so that
// a scan asks each letter once.
std::string SubstTargetFromAnswer(Os& os, const std::string& answer);
// The folder or share a raw DOS-device answer maps its letter to, as written
// there (not in long-name form); empty for a device target.
std::string MappedFolderOf(const std::string& dosDeviceAnswer);

// Long and short (8.3) form of an existing path; empty when it cannot be
// formed, also when the converted form would not fit into 255 characters.
std::string LongPathName(Os& os, const std::string& path);
std::string ShortPathName(Os& os, const std::string& path);

// True when a path, or its long or short form, is too long for those
// conversions, so no subst drive can be made on it. A path of 255 characters
// or more is refused from its text alone, without asking the system.
bool PathTooLongForSubst(Os& os, const std::string& path);

}  // namespace kelvra
