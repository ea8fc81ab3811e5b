// Network drives: letters connected to a share ("\\server\share") through the
// operating system's network-connection functions.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/os.h"

namespace kelvra {

// Connects the disk share `remote` to the letter that `local` begins with.
// User and password may be null (the current user's credentials). With
// `persistent` the connection is remembered in the user profile and restored
// at the next logon. True when the connection was made; false without a
// call when `local` is empty.
bool ConnectNetworkDrive(Os& os, const std::string& remote, const std::string& local,
                         const std::string* user, const std::string* password, bool persistent);

// Cancels the connection of `local` ("K:"), even with files open. Returns the
// system's result code, 0 on success.
uint32_t DisconnectNetworkDrive(Os& os, const std::string& local);

// The connections remembered in the user's profile, by upper-case letter:
// the remote name ("RemotePath") each letter is restored to at the next
// logon. `keyPrefix` is where the system keeps them below HKEY_CURRENT_USER
// ("Network\" on NT, "Network\Persistent\" on Windows 9x). One pass over
// the key's subkeys instead of one open per letter; a letter's key without
// a readable "RemotePath" is not remembered.
std::map<char, std::string> RememberedConnections(Os& os, const std::string& keyPrefix);

// The path with its letter replaced by the remote name when the letter is a
// connected network drive, else the path itself; in both cases with a
// trailing backslash (a lone letter also gets its colon).
std::string ConnectionPath(Os& os, const std::string& path);

// True when ConnectionPath begins with "\\": the path lies on a connected
// network letter (or is a UNC path itself).
bool IsNetworkPath(Os& os, const std::string& path);

}  // namespace kelvra
