// Keywords held in the text fields of the drive tables. They are compared as
// strings; the display turns them into language texts and the debug window
// prints them raw, so they must stay exactly as they are.
#pragma once

namespace kelvra::kw {

inline constexpr const char* kFree = "FREE";
inline constexpr const char* kRemovable = "REMOVABLE";
inline constexpr const char* kFixed = "FIXED";
inline constexpr const char* kRemote = "REMOTE";
inline constexpr const char* kCdrom = "CDROM";
inline constexpr const char* kRamdisk = "RAMDISK";
inline constexpr const char* kUnknown = "UNKNOWN";
inline constexpr const char* kRemoteVpc = "REMOTEVPC";
inline constexpr const char* kRemoteVbox = "REMOTEVBOX";
inline constexpr const char* kSubst = "SUBST";
inline constexpr const char* kSubstOpen = "SUBST (";  // + local type + ")"
inline constexpr const char* kSubstInactive = "SUBST (INACTIVE)";
inline constexpr const char* kRemoteInactive = "REMOTE (INACTIVE)";
inline constexpr const char* kInactive = "INACTIVE";
// Written by the New and Change commands until the next scan re-types the row.
inline constexpr const char* kSubstInterim = "Subst";

inline constexpr const char* kYes = "YES";
inline constexpr const char* kDisabled = "DISABLED";

}  // namespace kelvra::kw
