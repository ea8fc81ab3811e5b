#include "drives/network.h"

#include "drives/drive_tables.h"
#include "platform/inireg.h"
#include "util/text.h"

namespace kelvra {

namespace {
constexpr uint32_t kRemoteNameBufferSize = 512;
}

bool ConnectNetworkDrive(Os& os, const std::string& remote, const std::string& local,
                         const std::string* user, const std::string* password, bool persistent) {
    if (local.empty()) return false;
    NetResource resource;
    resource.type = kResourceTypeDisk;
    resource.localName = std::string(1, local[0]) + ":";
    resource.remoteName = remote;
    return os.WNetAddConnection2(resource, password, user,
                                 persistent ? kConnectUpdateProfile : 0) == oserr::kSuccess;
}

uint32_t DisconnectNetworkDrive(Os& os, const std::string& local) {
    return os.WNetCancelConnection(local, true);
}

std::map<char, std::string> RememberedConnections(Os& os, const std::string& keyPrefix) {
    std::map<char, std::string> remembered;
    std::string parent = keyPrefix;
    if (text::EndsWith(parent, "\\")) parent.pop_back();
    RegKey key = 0;
    if (os.RegOpenKeyEx(kHkeyCurrentUser, parent, kRegReadAccess, key) != oserr::kSuccess)
        return remembered;
    std::string name;
    for (uint32_t i = 0; os.RegEnumKeyEx(key, i, name) == oserr::kSuccess; ++i) {
        const char letter = name.size() == 1 ? text::UpperAscii(name[0]) : '\0';
        if (letter < 'A' || letter > 'Z') continue;
        std::string path;
        std::string typeName;
        if (RegGetValue(os, key, name, "RemotePath", path, typeName) == oserr::kSuccess)
            remembered[letter] = path;
    }
    os.RegCloseKey(key);
    return remembered;
}

std::string ConnectionPath(Os& os, const std::string& path) {
    std::string normalised = path;
    if (normalised.size() == 1) normalised += ':';
    normalised = text::WithBackslash(normalised);
    std::string remote;
    uint32_t size = kRemoteNameBufferSize;
    if (os.WNetGetConnection(normalised.substr(0, 2), remote, size) != oserr::kSuccess)
        return normalised;
    const std::string rest = normalised.size() > 2 ? normalised.substr(2) : "\\";
    return text::CutAtNul(remote) + rest;
}

bool IsNetworkPath(Os& os, const std::string& path) {
    return IsSharePath(ConnectionPath(os, path));
}

}  // namespace kelvra
