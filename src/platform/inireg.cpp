#include "platform/inireg.h"

#include <algorithm>

#include "util/text.h"

namespace kelvra {

std::string ReadIniString(Os& os, const std::string& file, const std::string& section,
                          const std::string& key, const std::string& def, int32_t& status,
                          uint32_t bufferSize) {
    std::string value;
    uint32_t n = os.GetPrivateProfileString(section, key, def, value, bufferSize, file);
    if (n < value.size()) value.resize(n);
    status = n > 0 ? kIniOk : kIniFailed;
    return value;
}

int32_t WriteIniString(Os& os, const std::string& file, const std::string& section,
                       const std::string& key, const std::string& value) {
    return os.WritePrivateProfileString(section, key, &value, file) ? kIniOk : kIniFailed;
}

int32_t DeleteIniKey(Os& os, const std::string& file, const std::string& section,
                     const std::string& key) {
    return os.WritePrivateProfileString(section, key, nullptr, file) ? kIniOk : kIniFailed;
}

int32_t RegKeyOpenable(Os& os, RegKey root, const std::string& subkey) {
    RegKey key = 0;
    int32_t rc = os.RegOpenKeyEx(root, subkey, kRegReadAccess, key);
    if (rc == oserr::kSuccess) os.RegCloseKey(key);
    return rc;
}

uint32_t RegCreateKey(Os& os, RegKey root, const std::string& subkey, bool noFlush) {
    RegKey key = 0;
    uint32_t disposition = 0;
    if (os.RegCreateKeyEx(root, subkey, kRegWriteAccess, key, disposition) != oserr::kSuccess)
        return 0;
    if (!noFlush) os.RegFlushKey(key);
    os.RegCloseKey(key);
    return disposition;
}

int32_t RegDeleteKey(Os& os, RegKey root, const std::string& subkey) {
    return os.RegDeleteKey(root, subkey);
}

int32_t RegDeleteValue(Os& os, RegKey root, const std::string& subkey, const std::string& name) {
    RegKey key = 0;
    int32_t rc = os.RegOpenKeyEx(root, subkey, kRegWriteAccess, key);
    if (rc != oserr::kSuccess) return rc;
    os.RegDeleteValue(key, name);
    return os.RegCloseKey(key);
}

static int32_t SetRaw(Os& os, RegKey root, const std::string& subkey, const std::string& name,
                      uint32_t type, const std::string& bytes) {
    RegKey key = 0;
    int32_t rc = os.RegOpenKeyEx(root, subkey, kRegWriteAccess, key);
    if (rc != oserr::kSuccess) return rc;
    os.RegSetValueEx(key, name, type, bytes);
    return os.RegCloseKey(key);
}

int32_t RegSetValue(Os& os, RegKey root, const std::string& subkey, const std::string& name,
                    uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return SetRaw(os, root, subkey, name, kRegDword, bytes);
}

int32_t RegSetValue(Os& os, RegKey root, const std::string& subkey, const std::string& name,
                    const std::string& value, bool rawBytes) {
    if (rawBytes) return SetRaw(os, root, subkey, name, kRegBinary, value);
    return SetRaw(os, root, subkey, name, kRegSz, value + '\0');
}

int32_t RegGetValue(Os& os, RegKey root, const std::string& subkey, const std::string& name,
                    std::string& value, std::string& typeName) {
    RegKey key = 0;
    int32_t rc = os.RegOpenKeyEx(root, subkey, kRegReadAccess, key);
    if (rc != oserr::kSuccess) return rc;
    // Read at once into a buffer that fits the values this program reads;
    // only a larger one needs a second read at the size reported.
    uint32_t type = kRegNone;
    uint32_t size = kRegReadBufferSize;
    std::string data;
    rc = os.RegQueryValueEx(key, name, &type, &data, &size);
    if (rc == oserr::kMoreData) rc = os.RegQueryValueEx(key, name, &type, &data, &size);
    if (rc == oserr::kSuccess) {
        data.resize(std::min<std::size_t>(size, data.size()));
        switch (type) {
            case kRegSz:
                // Cut at the terminator rather than dropping the last byte,
                // so a value stored without one keeps its text.
                value = text::CutAtNul(data);
                typeName = "SZ";
                break;
            case kRegBinary:
                value = data;
                typeName = "BINARY";
                break;
            case kRegDword:
                if (data.size() == 4) {
                    uint32_t number = 0;
                    for (int i = 3; i >= 0; --i)
                        number = (number << 8) | static_cast<unsigned char>(data[i]);
                    value = std::to_string(number);
                    typeName = "DWORD";
                } else {
                    rc = data.size() > 4 ? oserr::kMoreData : rc;
                }
                break;
            default:
                break;
        }
    }
    os.RegCloseKey(key);
    return rc;
}

bool FileExists(Os& os, const std::string& path) {
    uint32_t attributes = os.GetFileAttributes(path);
    if (attributes == kInvalidFileAttributes) return false;
    return (attributes & (kFileAttributeDirectory | kFileAttributeVolumeLabel)) == 0;
}

bool DirExists(Os& os, const std::string& path) {
    uint32_t attributes = os.GetFileAttributes(path);
    return attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory) != 0;
}

}  // namespace kelvra
