#include "sim/simulated_windows.h"

#include <algorithm>
#include <new>

#include "util/text.h"

namespace kelvra::sim {

namespace {

std::string Upper(const std::string& s) {
    return text::Upper(s);
}

std::string Trim(const std::string& s, const char* blanks = " \t") {
    std::size_t b = s.find_first_not_of(blanks);
    if (b == std::string::npos) return {};
    std::size_t e = s.find_last_not_of(blanks);
    return s.substr(b, e - b + 1);
}

bool Is83(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    std::size_t dot = name.find('.');
    if (dot != std::string::npos && name.find('.', dot + 1) != std::string::npos) return false;
    std::string base = name.substr(0, dot);
    std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
    for (char c : name)
        if (c == ' ' || c == '+' || c == ',' || c == ';' || c == '=' || c == '[' || c == ']')
            return false;
    return true;
}

// Windows-1252 characters 0x80..0x9F; 0 where the code page has none.
constexpr wchar_t k1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                   0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

SimulatedWindows::SimulatedWindows() {
    PlayWindowsXp();
    SetExecutable("C:\\Program Files\\Kelvra\\Kelvra.exe");
    AddDrive('C', kDriveFixed, "SYSTEM");
    const std::string shellFolders =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    SetRegistryString(kHkeyCurrentUser, shellFolders, "AppData",
                      "C:\\Documents and Settings\\Tester\\Application Data");
    AddFolder("C:\\Documents and Settings\\Tester\\Application Data");
    SetRegistryString(kHkeyCurrentUser, shellFolders, "Desktop",
                      "C:\\Documents and Settings\\Tester\\Desktop");
    AddFolder("C:\\Documents and Settings\\Tester\\Desktop");
    RegKey key = 0;
    uint32_t disposition = 0;
    RegCreateKeyEx(kHkeyCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0x3F, key,
                   disposition);
    RegCloseKey(key);
    ResetCalls();
}

void SimulatedWindows::SetVersion(uint32_t major, uint32_t minor, uint32_t build,
                                  uint32_t platformId, const std::string& csd) {
    version_ = OsVersion{major, minor, build, platformId, csd};
}

void SimulatedWindows::SetVersionExtended(uint16_t servicePackMajor, uint16_t servicePackMinor,
                                          uint16_t suiteMask, uint8_t productType,
                                          uint8_t reserved) {
    version_.servicePackMajor = servicePackMajor;
    version_.servicePackMinor = servicePackMinor;
    version_.suiteMask = suiteMask;
    version_.productType = productType;
    version_.reserved = reserved;
}

void SimulatedWindows::SetSystemDirectory(const std::string& path) {
    systemDirectory_ = path;
    if (!path.empty()) AddFolder(path);
}

void SimulatedWindows::SetFileVersion(const std::string& path, FileVersion version) {
    if (!PathExists(path)) AddFile(path, "MZ");
    fileVersions_[Upper(path)] = version;
}

void SimulatedWindows::SetFileVersionString(const std::string& path, const std::string& name,
                                            const std::wstring& text) {
    if (!HasVersionResource(path)) SetFileVersion(path, {1, 0, 0, 0});
    versionStrings_[Upper(path)][Upper(name)] = text;
}

void SimulatedWindows::PlayWindows98() {
    SetVersion(4, 10, 2222, kPlatformWindows, " A ");
    SetSystemDirectory("C:\\WINDOWS\\SYSTEM");
}
void SimulatedWindows::PlayWindowsMe() {
    SetVersion(4, 90, 3000, kPlatformWindows);
    SetSystemDirectory("C:\\WINDOWS\\SYSTEM");
}
// XP Professional SP3 on a 32-bit machine.
void SimulatedWindows::PlayWindowsXp() {
    SetVersion(5, 1, 2600, kPlatformNt, "Service Pack 3");
    SetVersionExtended(3, 0, 0x0100, kNtWorkstation);
    SetSystemDirectory("C:\\WINDOWS\\system32");
}

void SimulatedWindows::SetExecutable(const std::string& path, FileVersion version) {
    exePath_ = path;
    fileVersion_ = version;
    std::size_t slash = path.rfind('\\');
    if (slash != std::string::npos && slash > 2) AddFolder(path.substr(0, slash));
    if (!path.empty()) AddFile(path, "MZ");
}

bool SimulatedWindows::Call(const char* operation) {
    const Guard guard(mutex_);
    ++calls_[operation];
    if (throwing_.count(operation)) throw std::bad_alloc();
    auto times = failTimes_.find(operation);
    if (times != failTimes_.end() && times->second > 0) {
        --times->second;
        return true;
    }
    return failing_.count(operation) != 0;
}

int SimulatedWindows::Calls(const std::string& operation) const {
    const Guard guard(mutex_);
    auto it = calls_.find(operation);
    return it == calls_.end() ? 0 : it->second;
}

void SimulatedWindows::ResetCalls() {
    const Guard guard(mutex_);
    calls_.clear();
}

int SimulatedWindows::TotalCalls() const {
    const Guard guard(mutex_);
    int total = 0;
    for (const auto& [name, count] : calls_) total += count;
    return total;
}

// --- file system ---------------------------------------------------------------

bool SimulatedWindows::SplitPath(const std::string& input, std::string& root,
                                 std::vector<std::string>& parts) {
    std::string path = input;
    std::replace(path.begin(), path.end(), '/', '\\');
    parts.clear();
    std::size_t pos = 0;
    if (path.size() >= 2 && path[1] == ':' && DriveIndexLetter(path[0])) {
        root = std::string(1, text::UpperAscii(path[0])) + ":";
        pos = 2;
    } else if (text::StartsWith(path, "\\\\")) {
        std::size_t server = path.find('\\', 2);
        if (server == std::string::npos || server == 2) return false;
        std::size_t share = path.find('\\', server + 1);
        std::string shareName = path.substr(
            server + 1, share == std::string::npos ? std::string::npos : share - server - 1);
        if (shareName.empty()) return false;
        root = path.substr(0, share == std::string::npos ? path.size() : share);
        pos = share == std::string::npos ? path.size() : share;
    } else {
        return false;
    }
    while (pos < path.size()) {
        if (path[pos] == '\\') {
            ++pos;
            continue;
        }
        std::size_t next = path.find('\\', pos);
        std::string part =
            path.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
        // Trailing blanks and dots are dropped by Windows path parsing.
        while (!part.empty() && (part.back() == ' ' || part.back() == '.') && part != "." &&
               part != "..")
            part.pop_back();
        if (part.empty()) return false;
        if (part == ".") {
        } else if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else {
            parts.push_back(part);
        }
        if (next == std::string::npos) break;
        pos = next + 1;
    }
    return true;
}

bool SimulatedWindows::DriveIndexLetter(char c) {
    c = text::UpperAscii(c);
    return c >= 'A' && c <= 'Z';
}

std::string SimulatedWindows::ChildKey(const std::string& parentKey, const std::string& part) {
    std::string direct = parentKey + "\\" + Upper(part);
    if (nodes_.count(direct)) return direct;
    // Match by short name among the children.
    const std::string prefix = parentKey + "\\";
    for (auto it = nodes_.lower_bound(prefix); it != nodes_.end(); ++it) {
        if (!text::StartsWith(it->first, prefix)) break;
        if (it->first.find('\\', prefix.size()) != std::string::npos) continue;
        if (text::EqualsNoCase(it->second.shortName, part)) return it->first;
    }
    return {};
}

std::string SimulatedWindows::LetterTarget(char letter) {
    auto it = dosDevices_.find(text::UpperAscii(letter));
    if (it == dosDevices_.end() || it->second.empty()) return {};
    const std::string& target = it->second.back();
    if (text::StartsWith(target, "\\??\\")) {
        std::string path = target.substr(4);
        if (text::StartsWithNoCase(path, "UNC\\")) path = "\\" + path.substr(3);
        return path;
    }
    if (target.size() >= 2 && target[1] == ':') return target;
    return {};
}

std::string SimulatedWindows::Resolve(const std::string& path, int depth) {
    if (depth > 8) return {};
    std::string root;
    std::vector<std::string> parts;
    if (!SplitPath(path, root, parts)) return {};
    std::string key;
    if (root.size() == 2) {
        const char letter = root[0];
        std::string target = LetterTarget(letter);
        if (!target.empty()) {
            key = Resolve(target, depth + 1);
        } else if (connections_.count(letter)) {
            if (connections_[letter].lost) return {};
            key = Resolve(connections_[letter].remoteName, depth + 1);
        } else if (drives_.count(letter) || dosDevices_.count(letter)) {
            key = root;
            if (!nodes_.count(key)) return {};
        }
    } else {
        key = Upper(root);
        if (!nodes_.count(key)) return {};
    }
    if (key.empty()) return {};
    for (const std::string& part : parts) {
        if (!nodes_[key].folder) return {};
        key = ChildKey(key, part);
        if (key.empty()) return {};
    }
    // A closing backslash names a folder: a file named so is not found.
    if (!parts.empty() && (path.back() == '\\' || path.back() == '/') && !nodes_[key].folder)
        return {};
    return key;
}

std::string SimulatedWindows::MakeShortName(const std::string& parentKey,
                                            const std::string& longName) {
    if (Is83(longName)) return longName;
    std::string base;
    std::string ext;
    std::size_t dot = longName.rfind('.');
    std::string stem = dot == std::string::npos || dot == 0 ? longName : longName.substr(0, dot);
    if (dot != std::string::npos && dot != 0) {
        for (char c : longName.substr(dot + 1))
            if (c != ' ' && c != '.' && ext.size() < 3) ext.push_back(text::UpperAscii(c));
    }
    for (char c : stem)
        if (c != ' ' && c != '.' && base.size() < 6) base.push_back(text::UpperAscii(c));
    if (base.empty()) base = "X";
    for (int n = 1;; ++n) {
        std::string candidate = base + "~" + std::to_string(n) + (ext.empty() ? "" : "." + ext);
        if (ChildKey(parentKey, candidate).empty()) return candidate;
    }
}

void SimulatedWindows::PutNode(const std::string& path, bool folder, const std::string& contents,
                               const std::string& shortName) {
    const Guard guard(mutex_);
    std::string root;
    std::vector<std::string> parts;
    if (!SplitPath(path, root, parts)) return;
    std::string key = Upper(root);
    if (!nodes_.count(key)) nodes_[key] = Node{root, root, true, false, {}, false};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        std::string child = key + "\\" + Upper(parts[i]);
        if (!nodes_.count(child)) {
            Node node;
            node.name = parts[i];
            node.shortName = last && !shortName.empty() ? shortName : MakeShortName(key, parts[i]);
            node.folder = !last || folder;
            nodes_[child] = node;
        }
        if (last && !folder) nodes_[child].contents = contents;
        key = child;
    }
}

void SimulatedWindows::AddDrive(char letter, uint32_t type, const std::string& label,
                                const std::string& fileSystem, const std::string& device) {
    const Guard guard(mutex_);
    letter = text::UpperAscii(letter);
    const int number = static_cast<int>(drives_.size()) + 1;
    drives_[letter] =
        Drive{type, label, fileSystem,
              device.empty() ? "\\Device\\HarddiskVolume" + std::to_string(number) : device};
    PutNode(std::string(1, letter) + ":\\", true, {}, {});
}

void SimulatedWindows::RemoveDrive(char letter) {
    const Guard guard(mutex_);
    letter = text::UpperAscii(letter);
    drives_.erase(letter);
    RemovePath(std::string(1, letter) + ":");
}

void SimulatedWindows::AddFolder(const std::string& path, const std::string& shortName) {
    PutNode(path, true, {}, shortName);
}

void SimulatedWindows::AddFile(const std::string& path, const std::string& contents,
                               const std::string& shortName) {
    PutNode(path, false, contents, shortName);
}

void SimulatedWindows::RemovePath(const std::string& path) {
    const Guard guard(mutex_);
    std::string root;
    std::vector<std::string> parts;
    if (!SplitPath(path, root, parts)) return;
    std::string key = Upper(root);
    for (const std::string& part : parts) {
        key = ChildKey(key, part);
        if (key.empty()) return;
    }
    const std::string prefix = key + "\\";
    for (auto it = nodes_.begin(); it != nodes_.end();) {
        if (it->first == key || text::StartsWith(it->first, prefix))
            it = nodes_.erase(it);
        else
            ++it;
    }
}

bool SimulatedWindows::PathExists(const std::string& path) {
    return !Resolve(path).empty();
}

std::string SimulatedWindows::FileContents(const std::string& path) {
    std::string key = Resolve(path);
    return key.empty() ? std::string() : nodes_[key].contents;
}

void SimulatedWindows::SetFolderReadOnly(const std::string& path, bool readOnly) {
    const Guard guard(mutex_);
    std::string key = Resolve(path);
    if (!key.empty()) nodes_[key].readOnly = readOnly;
}

void SimulatedWindows::HoldFile(const std::string& path, bool held) {
    const Guard guard(mutex_);
    std::string key = Resolve(path);
    if (!key.empty()) nodes_[key].held = held;
}

bool SimulatedWindows::WritableFolder(const std::string& key) {
    for (std::string k = key;;) {
        auto it = nodes_.find(k);
        if (it != nodes_.end() && it->second.readOnly) return false;
        std::size_t slash = k.rfind('\\');
        if (slash == std::string::npos || slash < 2) return true;
        k = k.substr(0, slash);
    }
}

void SimulatedWindows::AddShare(const std::string& remoteName, const std::string& redirector) {
    shares_[Upper(remoteName)] = Share{remoteName, redirector};
    PutNode(remoteName, true, {}, {});
}

bool SimulatedWindows::OnEmptyDrive(const std::string& path, int depth) {
    if (depth > 8 || path.size() < 2 || path[1] != ':') return false;
    const char letter = text::UpperAscii(path[0]);
    const std::string target = LetterTarget(letter);
    if (!target.empty()) return OnEmptyDrive(target, depth + 1);
    auto drive = drives_.find(letter);
    if (drive == drives_.end() || !drive->second.fileSystem.empty() ||
        (drive->second.type != kDriveRemovable && drive->second.type != kDriveCdrom))
        return false;
    if (!QuietErrors()) ++noDiskBoxes_;
    return true;
}

uint32_t SimulatedWindows::GetFileAttributes(const std::string& path) {
    if (Call("GetFileAttributes") || OnEmptyDrive(path)) return kInvalidFileAttributes;
    std::string key = Resolve(path);
    if (key.empty()) return kInvalidFileAttributes;
    return nodes_[key].folder ? kFileAttributeDirectory : kFileAttributeArchive;
}

bool SimulatedWindows::CreateDirectory(const std::string& path) {
    const Guard guard(mutex_);
    if (Call("CreateDirectory")) return false;
    if (!Resolve(path).empty()) return false;  // already exists
    std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return false;
    std::string parentKey = Resolve(path.substr(0, slash + (slash == 2 ? 1 : 0)));
    if (parentKey.empty() || !nodes_[parentKey].folder || !WritableFolder(parentKey)) return false;
    std::string name = path.substr(slash + 1);
    if (name.empty()) return false;
    Node node;
    node.name = name;
    node.shortName = MakeShortName(parentKey, name);
    node.folder = true;
    nodes_[parentKey + "\\" + Upper(name)] = node;
    return true;
}

std::string SimulatedWindows::ConvertPath(const std::string& path, bool toShort) {
    std::string root;
    std::vector<std::string> parts;
    if (!SplitPath(path, root, parts) || Resolve(path).empty()) return {};
    // The root stays as it was given; every component takes its long or short name.
    const bool driveRoot = root.size() == 2;
    std::string key = Resolve(driveRoot ? root + "\\" : root);
    std::string out = driveRoot ? path.substr(0, 2) : root;
    for (const std::string& part : parts) {
        key = ChildKey(key, part);
        if (key.empty()) return {};
        out += "\\" + (toShort ? nodes_[key].shortName : nodes_[key].name);
    }
    if (path.back() == '\\' || path.back() == '/') out += "\\";
    return out;
}

uint32_t SimulatedWindows::GetLongPathName(const std::string& path, std::string& out,
                                           uint32_t size) {
    out.clear();
    const Guard guard(mutex_);
    if (Call("GetLongPathName") || OnEmptyDrive(path)) return 0;
    std::string converted = ConvertPath(path, false);
    if (converted.empty()) return 0;
    if (converted.size() + 1 > size) return static_cast<uint32_t>(converted.size() + 1);
    out = converted;
    return static_cast<uint32_t>(out.size());
}

bool SimulatedWindows::GetFullPathName(const std::string& path, std::string& out) {
    out.clear();
    if (Call("GetFullPathName") || path.empty()) return false;
    std::string p = path;
    for (char& c : p)
        if (c == '/') c = '\\';
    const bool unc = p.size() > 1 && p[0] == '\\' && p[1] == '\\';
    const bool drive = p.size() > 1 && p[1] == ':';
    std::string root, rest;
    if (unc) {
        // "\\server\share" is the root; ".." never climbs above it.
        std::size_t end = p.find('\\', 2);
        if (end != std::string::npos) end = p.find('\\', end + 1);
        root = p.substr(0, end);
        rest = end == std::string::npos ? "" : p.substr(end);
    } else if (drive) {
        root = p.substr(0, 2);
        rest = p.substr(2);
        // "C:x": relative to the current folder when it is on that drive,
        // else to the drive's root.
        if (rest.empty() || rest[0] != '\\') {
            const bool here = text::EqualsNoCase(currentFolder_.substr(0, 2), root);
            rest = (here ? currentFolder_.substr(2) : "\\") + "\\" + rest;
        }
    } else {
        root = currentFolder_.substr(0, 2);
        rest = (p[0] == '\\' ? "" : currentFolder_.substr(2) + "\\") + p;
    }
    std::vector<std::string> parts;
    std::size_t at = 0;
    while (at <= rest.size()) {
        std::size_t next = rest.find('\\', at);
        if (next == std::string::npos) next = rest.size();
        const std::string part = rest.substr(at, next - at);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        at = next + 1;
    }
    out = root;
    for (const std::string& part : parts) out += "\\" + part;
    // A closing backslash stays, as does the root's.
    const bool closing = !rest.empty() && rest.back() == '\\';
    if (parts.empty() || closing) out += "\\";
    if (unc && parts.empty() && !closing) out.pop_back();
    return true;
}

uint32_t SimulatedWindows::GetShortPathName(const std::string& path, std::string& out,
                                            uint32_t size) {
    out.clear();
    if (Call("GetShortPathName") || OnEmptyDrive(path)) return 0;
    std::string converted = ConvertPath(path, true);
    if (converted.empty()) return 0;
    if (converted.size() + 1 > size) return static_cast<uint32_t>(converted.size() + 1);
    out = converted;
    return static_cast<uint32_t>(out.size());
}

bool SimulatedWindows::ReadFile(const std::string& path, std::string& bytes, std::size_t maxBytes) {
    bytes.clear();
    if (Call("ReadFile")) return false;
    std::string key = Resolve(path);
    if (key.empty() || nodes_[key].folder || nodes_[key].held) return false;
    bytes = nodes_[key].contents.substr(0, maxBytes);
    return true;
}

int32_t SimulatedWindows::ReadFileStatus(const std::string& path, std::string& bytes,
                                         std::size_t maxBytes) {
    bytes.clear();
    if (Call("ReadFileStatus")) return oserr::kAccessDenied;
    std::string key = Resolve(path);
    if (key.empty()) {
        const std::size_t slash = path.find_last_of("\\/");
        const bool folderThere =
            slash != std::string::npos && !Resolve(path.substr(0, slash + (slash == 2))).empty();
        return folderThere ? oserr::kFileNotFound : oserr::kPathNotFound;
    }
    const Node& node = nodes_[key];
    if (node.folder) return oserr::kAccessDenied;
    if (node.held) return oserr::kSharingViolation;
    bytes = node.contents.substr(0, maxBytes);
    return oserr::kSuccess;
}

int32_t SimulatedWindows::ReplaceFileContents(const std::string& path, const std::string& bytes) {
    const Guard guard(mutex_);
    if (Call("ReplaceFileContents")) return oserr::kDiskFull;
    std::string key = Resolve(path);
    if (key.empty()) {
        const std::size_t slash = path.find_last_of("\\/");
        if (slash == std::string::npos) return oserr::kPathNotFound;
        const std::string parentKey = Resolve(path.substr(0, slash + (slash == 2)));
        if (parentKey.empty() || !nodes_[parentKey].folder) return oserr::kPathNotFound;
        if (!WritableFolder(parentKey)) return oserr::kAccessDenied;
        AddFile(path, bytes);
        return oserr::kSuccess;
    }
    Node& node = nodes_[key];
    if (node.folder || !WritableFolder(key)) return oserr::kAccessDenied;
    if (node.held) return oserr::kSharingViolation;
    node.contents = bytes;
    return oserr::kSuccess;
}

namespace {

// "*" and "?" as the file system matches them, without regard to case.
bool MatchesMask(const std::string& name, const std::string& mask) {
    std::size_t n = 0, m = 0, starAt = std::string::npos, resumeAt = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starAt = m++;
            resumeAt = n;
        } else if (m < mask.size() &&
                   (mask[m] == '?' || text::UpperAscii(mask[m]) == text::UpperAscii(name[n]))) {
            ++m;
            ++n;
        } else if (starAt != std::string::npos) {
            m = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

}  // namespace

std::vector<std::string> SimulatedWindows::FindFiles(const std::string& pattern) {
    std::vector<std::string> names;
    if (Call("FindFiles")) return names;
    const std::size_t slash = pattern.find_last_of("\\/");
    if (slash == std::string::npos) return names;
    const std::string mask = pattern.substr(slash + 1);
    const std::string folder = Resolve(pattern.substr(0, slash + 1));
    if (folder.empty() || !nodes_[folder].folder) return names;
    const std::string prefix = folder + "\\";
    for (auto it = nodes_.lower_bound(prefix); it != nodes_.end(); ++it) {
        if (!text::StartsWith(it->first, prefix)) break;
        if (it->first.find('\\', prefix.size()) != std::string::npos) continue;
        const Node& node = it->second;
        if (!node.folder && (MatchesMask(node.name, mask) || MatchesMask(node.shortName, mask)))
            names.push_back(node.name);
    }
    return names;
}

// --- INI files -------------------------------------------------------------------

namespace {

// Splits file contents into lines without their CR/LF endings.
std::vector<std::string> IniLines(const std::string& contents) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < contents.size()) {
        std::size_t nl = contents.find('\n', pos);
        std::string line =
            contents.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        if (nl == std::string::npos) break;
        pos = nl + 1;
    }
    return lines;
}

bool IsSectionLine(const std::string& line, std::string& name) {
    std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    std::size_t close = t.find(']');
    name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

bool IsKeyLine(const std::string& line, const std::string& key, std::string* value) {
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) return false;
    if (!text::EqualsNoCase(Trim(line.substr(0, eq)), Trim(key))) return false;
    if (value) *value = line.substr(eq + 1);
    return true;
}

}  // namespace

uint32_t SimulatedWindows::GetPrivateProfileString(const std::string& section,
                                                   const std::string& key, const std::string& def,
                                                   std::string& out, uint32_t size,
                                                   const std::string& file) {
    out.clear();
    if (Call("GetPrivateProfileString") || size == 0) return 0;
    // The default loses its trailing blanks only.
    std::string value = def.substr(0, def.find_last_not_of(' ') + 1);
    std::string fileKey = Resolve(file);
    if (!fileKey.empty() && !nodes_[fileKey].folder) {
        bool inSection = false;
        for (const std::string& line : IniLines(nodes_[fileKey].contents)) {
            std::string name;
            if (IsSectionLine(line, name)) {
                inSection = SameSection(name, Trim(section));
                continue;
            }
            std::string found;
            if (inSection && IsKeyLine(line, key, &found)) {
                value = Trim(found);
                if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                    value.back() == value.front())
                    value = value.substr(1, value.size() - 2);
                break;
            }
        }
    }
    out = value.substr(0, size - 1);
    return static_cast<uint32_t>(out.size());
}

bool SimulatedWindows::WritePrivateProfileString(const std::string& section, const std::string& key,
                                                 const std::string* value,
                                                 const std::string& file) {
    const Guard guard(mutex_);
    if (Call("WritePrivateProfileString")) return false;
    std::string fileKey = Resolve(file);
    if (fileKey.empty()) {
        // A new file: its folder must exist and take writes.
        std::size_t slash = file.find_last_of("\\/");
        if (slash == std::string::npos) return false;
        std::string parentKey = Resolve(file.substr(0, slash + (slash == 2 ? 1 : 0)));
        if (parentKey.empty() || !nodes_[parentKey].folder || !WritableFolder(parentKey))
            return false;
        if (!value) return true;
        AddFile(file, "");
        fileKey = Resolve(file);
        if (fileKey.empty()) return false;
    }
    Node& node = nodes_[fileKey];
    if (node.folder || !WritableFolder(fileKey)) return false;

    std::vector<std::string> lines = IniLines(node.contents);
    int sectionLine = -1;
    int keyLine = -1;
    int lastLineOfSection = -1;
    bool inSection = false;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        std::string name;
        if (IsSectionLine(lines[i], name)) {
            inSection = sectionLine < 0 && SameSection(name, Trim(section));
            if (inSection) {
                sectionLine = i;
                lastLineOfSection = i;
            }
            continue;
        }
        if (!inSection) continue;
        if (!Trim(lines[i]).empty()) lastLineOfSection = i;
        if (keyLine < 0 && IsKeyLine(lines[i], key, nullptr)) keyLine = i;
    }
    if (!value) {
        if (keyLine >= 0) lines.erase(lines.begin() + keyLine);
    } else {
        const std::string entry = Trim(key) + "=" + *value;
        if (keyLine >= 0) {
            lines[keyLine] = entry;
        } else if (sectionLine >= 0) {
            lines.insert(lines.begin() + lastLineOfSection + 1, entry);
        } else {
            lines.push_back("[" + section + "]");
            lines.push_back(entry);
        }
    }
    std::string contents;
    for (const std::string& line : lines) contents += line + "\r\n";
    node.contents = contents;
    return true;
}

// --- registry ----------------------------------------------------------------------

std::string SimulatedWindows::RegPath(RegKey root, const std::string& subkey) {
    std::string base;
    switch (root) {
        case kHkeyClassesRoot:
            base = "HKCR";
            break;
        case kHkeyCurrentUser:
            base = "HKCU";
            break;
        case kHkeyLocalMachine:
            base = "HKLM";
            break;
        default: {
            auto it = openKeys_.find(root);
            if (it == openKeys_.end()) return {};
            base = it->second.path;
        }
    }
    std::string path = base;
    std::string part;
    for (char c : subkey + "\\") {
        if (c == '\\') {
            if (!part.empty()) path += "\\" + Upper(part);
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    return path;
}

SimulatedWindows::RegNode* SimulatedWindows::FindRegNode(const std::string& path) {
    if (path == "HKCR" || path == "HKCU" || path == "HKLM") return &registry_[path];
    auto it = registry_.find(path);
    return it == registry_.end() ? nullptr : &it->second;
}

bool SimulatedWindows::RegParentDenied(const std::string& path) {
    std::size_t slash = path.rfind('\\');
    if (slash == std::string::npos) return false;
    RegNode* parent = FindRegNode(path.substr(0, slash));
    return parent && parent->denyWrites;
}

void SimulatedWindows::MakeRegKeys(RegKey root, const std::string& subkey) {
    std::string path = RegPath(root, "");
    if (path.empty()) return;
    registry_[path];
    std::string part;
    for (char c : subkey + "\\") {
        if (c != '\\') {
            part.push_back(c);
            continue;
        }
        if (part.empty()) continue;
        path += "\\" + Upper(part);
        RegNode& node = registry_[path];
        if (node.name.empty()) node.name = part;
        part.clear();
    }
}

void SimulatedWindows::SetRegistryString(RegKey root, const std::string& subkey,
                                         const std::string& name, const std::string& value) {
    MakeRegKeys(root, subkey);
    registry_[RegPath(root, subkey)].values[Upper(name)] = RegValue{name, kRegSz, value + '\0'};
}

bool SimulatedWindows::RegistryValue(RegKey root, const std::string& subkey,
                                     const std::string& name, std::string& value) {
    RegNode* node = FindRegNode(RegPath(root, subkey));
    if (!node) return false;
    auto it = node->values.find(Upper(name));
    if (it == node->values.end()) return false;
    value = it->second.type == kRegSz ? text::CutAtNul(it->second.data) : it->second.data;
    return true;
}

bool SimulatedWindows::RegistryKeyExists(RegKey root, const std::string& subkey) {
    return FindRegNode(RegPath(root, subkey)) != nullptr;
}

void SimulatedWindows::DenyRegistryWrites(RegKey root, const std::string& subkey) {
    MakeRegKeys(root, subkey);
    registry_[RegPath(root, subkey)].denyWrites = true;
}

void SimulatedWindows::DenyRegistryWritesBelow(RegKey root) {
    const std::string path = RegPath(root, "");
    MakeRegKeys(root, "");
    for (auto& [key, node] : registry_)
        if (key == path || text::StartsWith(key, path + "\\")) node.denyWrites = true;
}

int32_t SimulatedWindows::RegOpenKeyEx(RegKey root, const std::string& subkey, uint32_t access,
                                       RegKey& out) {
    if (Call("RegOpenKeyEx")) return oserr::kAccessDenied;
    std::string path = RegPath(root, subkey);
    if (path.empty()) return oserr::kInvalidHandle;
    RegNode* node = FindRegNode(path);
    if (!node) return oserr::kFileNotFound;
    if (node->denyWrites && (access & (kKeySetValue | kKeyCreateSubKey)))
        return oserr::kAccessDenied;
    out = nextKey_++;
    openKeys_[out] = OpenKey{path, access};
    return oserr::kSuccess;
}

int32_t SimulatedWindows::RegCreateKeyEx(RegKey root, const std::string& subkey, uint32_t access,
                                         RegKey& out, uint32_t& disposition) {
    if (Call("RegCreateKeyEx")) return oserr::kAccessDenied;
    std::string path = RegPath(root, subkey);
    if (path.empty()) return oserr::kInvalidHandle;
    RegNode* node = FindRegNode(path);
    if (node) {
        if (node->denyWrites && (access & (kKeySetValue | kKeyCreateSubKey)))
            return oserr::kAccessDenied;
        disposition = kRegOpenedExistingKey;
    } else {
        // Every missing key on the way is made, unless a parent refuses.
        std::vector<std::string> missing;
        for (std::string p = path; !FindRegNode(p);) {
            missing.push_back(p);
            p = p.substr(0, p.rfind('\\'));
        }
        if (RegParentDenied(missing.back())) return oserr::kAccessDenied;
        MakeRegKeys(root, subkey);
        disposition = kRegCreatedNewKey;
    }
    out = nextKey_++;
    openKeys_[out] = OpenKey{path, access};
    return oserr::kSuccess;
}

int32_t SimulatedWindows::RegSetValueEx(RegKey key, const std::string& name, uint32_t type,
                                        const std::string& data) {
    if (Call("RegSetValueEx")) return oserr::kAccessDenied;
    auto it = openKeys_.find(key);
    if (it == openKeys_.end()) return oserr::kInvalidHandle;
    if (!(it->second.access & kKeySetValue)) return oserr::kAccessDenied;
    RegNode* node = FindRegNode(it->second.path);
    if (!node) return oserr::kInvalidHandle;
    node->values[Upper(name)] = RegValue{name, type, data};
    return oserr::kSuccess;
}

int32_t SimulatedWindows::RegQueryValueEx(RegKey key, const std::string& name, uint32_t* type,
                                          std::string* data, uint32_t* size) {
    if (Call("RegQueryValueEx")) return oserr::kAccessDenied;
    RegNode* node = nullptr;
    if (key == kHkeyClassesRoot || key == kHkeyCurrentUser || key == kHkeyLocalMachine) {
        node = FindRegNode(RegPath(key, ""));
    } else {
        auto it = openKeys_.find(key);
        if (it == openKeys_.end()) return oserr::kInvalidHandle;
        node = FindRegNode(it->second.path);
    }
    if (!node) return oserr::kInvalidHandle;
    auto value = node->values.find(Upper(name));
    if (value == node->values.end()) return oserr::kFileNotFound;
    if (type) *type = value->second.type;
    const uint32_t needed = static_cast<uint32_t>(value->second.data.size());
    if (!data) {
        if (size) *size = needed;
        return oserr::kSuccess;
    }
    if (!size) return oserr::kInvalidParameter;
    if (*size < needed) {
        *size = needed;
        return oserr::kMoreData;
    }
    *data = value->second.data;
    *size = needed;
    return oserr::kSuccess;
}

int32_t SimulatedWindows::RegEnumKeyEx(RegKey key, uint32_t index, std::string& name) {
    if (Call("RegEnumKeyEx")) return oserr::kAccessDenied;
    std::string path;
    if (key == kHkeyClassesRoot || key == kHkeyCurrentUser || key == kHkeyLocalMachine) {
        path = RegPath(key, "");
    } else {
        auto it = openKeys_.find(key);
        if (it == openKeys_.end()) return oserr::kInvalidHandle;
        path = it->second.path;
    }
    if (!FindRegNode(path)) return oserr::kInvalidHandle;
    const std::string prefix = path + "\\";
    uint32_t n = 0;
    for (auto it = registry_.lower_bound(prefix);
         it != registry_.end() && text::StartsWith(it->first, prefix); ++it) {
        if (it->first.find('\\', prefix.size()) != std::string::npos) continue;  // deeper
        if (n++ != index) continue;
        name = it->second.name.empty() ? it->first.substr(prefix.size()) : it->second.name;
        return oserr::kSuccess;
    }
    return oserr::kNoMoreItems;
}

int32_t SimulatedWindows::RegDeleteKey(RegKey root, const std::string& subkey) {
    if (Call("RegDeleteKey")) return oserr::kAccessDenied;
    std::string path = RegPath(root, subkey);
    if (path.empty() || path.find('\\') == std::string::npos) return oserr::kAccessDenied;
    if (!FindRegNode(path)) return oserr::kFileNotFound;
    if (RegParentDenied(path) || registry_[path].denyWrites) return oserr::kAccessDenied;
    auto next = registry_.upper_bound(path);
    if (next != registry_.end() && text::StartsWith(next->first, path + "\\"))
        return oserr::kAccessDenied;  // has subkeys
    registry_.erase(path);
    return oserr::kSuccess;
}

int32_t SimulatedWindows::RegDeleteValue(RegKey key, const std::string& name) {
    if (Call("RegDeleteValue")) return oserr::kAccessDenied;
    auto it = openKeys_.find(key);
    if (it == openKeys_.end()) return oserr::kInvalidHandle;
    if (!(it->second.access & kKeySetValue)) return oserr::kAccessDenied;
    RegNode* node = FindRegNode(it->second.path);
    if (!node) return oserr::kInvalidHandle;
    return node->values.erase(Upper(name)) ? oserr::kSuccess : oserr::kFileNotFound;
}

int32_t SimulatedWindows::RegFlushKey(RegKey key) {
    if (Call("RegFlushKey")) return oserr::kAccessDenied;
    return openKeys_.count(key) ? oserr::kSuccess : oserr::kInvalidHandle;
}

int32_t SimulatedWindows::RegCloseKey(RegKey key) {
    if (Call("RegCloseKey")) return oserr::kInvalidHandle;
    return openKeys_.erase(key) ? oserr::kSuccess : oserr::kInvalidHandle;
}

// --- drives and DOS devices ---------------------------------------------------------

bool SimulatedWindows::LetterInUse(char letter) {
    auto dd = dosDevices_.find(letter);
    return drives_.count(letter) || connections_.count(letter) ||
           (dd != dosDevices_.end() && !dd->second.empty());
}

uint32_t SimulatedWindows::GetLogicalDriveStrings(uint32_t size, std::string& out) {
    out.clear();
    if (Call("GetLogicalDriveStrings")) return 0;
    std::string list;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        if (LetterInUse(letter)) list += std::string(1, letter) + ":\\" + '\0';
    const uint32_t length = static_cast<uint32_t>(list.size());
    if (length + 1 > size) return length + 1;
    out = list + '\0';
    return length;
}

uint32_t SimulatedWindows::GetDriveType(const std::string& root) {
    const Guard guard(mutex_);
    if (Call("GetDriveType")) return kDriveUnknown;
    if (root.empty()) return kDriveNoRootDir;
    const char letter = text::UpperAscii(root[0]);
    if (root.size() < 2 || root[1] != ':' || letter < 'A' || letter > 'Z') return kDriveNoRootDir;
    std::string target = LetterTarget(letter);
    if (!target.empty()) {
        // A subst letter reports the drive its folder lies on.
        if (Resolve(target).empty()) return kDriveNoRootDir;
        if (text::StartsWith(target, "\\\\")) return kDriveRemote;
        // The lookup of that drive is part of this call, not a second one.
        const uint32_t type = GetDriveType(target.substr(0, 2) + "\\");
        --calls_["GetDriveType"];
        return type;
    }
    if (connections_.count(letter)) return kDriveRemote;
    auto drive = drives_.find(letter);
    return drive == drives_.end() ? kDriveNoRootDir : drive->second.type;
}

bool SimulatedWindows::GetVolumeInformation(const std::string& root, std::string& label,
                                            std::string& fileSystem) {
    WaitWhileBlocked(root);
    const Guard guard(mutex_);
    return VolumeInformation(root, label, fileSystem);
}

bool SimulatedWindows::VolumeInformation(const std::string& root, std::string& label,
                                         std::string& fileSystem) {
    label.clear();
    fileSystem.clear();
    if (Call("GetVolumeInformation") || root.size() < 2) return false;
    std::string key = Resolve(root.substr(0, 2) + "\\");
    if (key.empty()) return false;
    if (key.size() == 2) {
        auto drive = drives_.find(key[0]);
        if (drive == drives_.end()) return false;
        if (drive->second.type == kDriveRemovable || drive->second.type == kDriveCdrom) {
            // An empty drive has no volume to describe.
            if (drive->second.fileSystem.empty()) {
                if (!QuietErrors()) ++noDiskBoxes_;
                return false;
            }
        }
        label = drive->second.label;
        fileSystem = drive->second.fileSystem;
        return true;
    }
    if (text::StartsWith(key, "\\\\")) {
        fileSystem = "NTFS";
        return true;
    }
    return VolumeInformation(key.substr(0, 2) + "\\", label, fileSystem);
}

uint32_t SimulatedWindows::SetErrorMode(uint32_t mode) {
    Call("SetErrorMode");
    return errorMode_.exchange(mode);
}

bool SimulatedWindows::SetThreadErrorMode(uint32_t mode, uint32_t& previous) {
    const Guard guard(mutex_);
    if (Call("SetThreadErrorMode")) return false;
    // Windows takes only these three modes for a thread.
    constexpr uint32_t kThreadModes = kSemFailCriticalErrors | 0x0002 | 0x8000;
    if (mode & ~kThreadModes) return false;
    uint32_t& current = threadErrorModes_[std::this_thread::get_id()];
    previous = current;
    current = mode;
    return true;
}

bool SimulatedWindows::QuietErrors() {
    const Guard guard(mutex_);
    auto thread = threadErrorModes_.find(std::this_thread::get_id());
    const uint32_t own = thread == threadErrorModes_.end() ? 0 : thread->second;
    return ((errorMode_ | own) & kSemFailCriticalErrors) != 0;
}

char SimulatedWindows::VolumeLetter(std::string path) {
    for (int depth = 0; depth < 8 && path.size() >= 2 && path[1] == ':'; ++depth) {
        const char letter = text::UpperAscii(path[0]);
        const std::string target = LetterTarget(letter);
        if (target.empty()) return letter;
        path = target;
    }
    return 0;
}

void SimulatedWindows::WaitWhileBlocked(const std::string& path) {
    std::unique_lock<std::recursive_mutex> lock(mutex_);
    auto blocked = [&] { return blockedDrives_.count(VolumeLetter(path)) != 0; };
    if (!blocked()) return;
    ++blockedQueries_;
    queriesReleased_.notify_all();
    queriesReleased_.wait(lock, [&] { return !blocked(); });
    --blockedQueries_;
}

void SimulatedWindows::BlockVolumeQueries(char letter) {
    const Guard guard(mutex_);
    blockedDrives_.insert(text::UpperAscii(letter));
}

void SimulatedWindows::ReleaseVolumeQueries(char letter) {
    const Guard guard(mutex_);
    blockedDrives_.erase(text::UpperAscii(letter));
    queriesReleased_.notify_all();
}

bool SimulatedWindows::AwaitBlockedQueries(int count) {
    std::unique_lock<std::recursive_mutex> lock(mutex_);
    return queriesReleased_.wait_for(lock, std::chrono::seconds(10),
                                     [&] { return blockedQueries_ >= count; });
}

bool SimulatedWindows::DefineDosDevice(uint32_t flags, const std::string& device,
                                       const std::string* target) {
    const Guard guard(mutex_);
    if (Call("DefineDosDevice")) return false;
    if (device.size() != 2 || device[1] != ':') return false;
    const char letter = text::UpperAscii(device[0]);
    if (letter < 'A' || letter > 'Z') return false;
    std::vector<std::string>& list = dosDevices_[letter];
    if (flags & kDddRemoveDefinition) {
        if (list.empty()) {
            dosDevices_.erase(letter);
            return false;
        }
        if (target && (flags & kDddExactMatchOnRemove)) {
            auto it = std::find(list.rbegin(), list.rend(), *target);
            if (it == list.rend()) return false;
            list.erase(std::next(it).base());
        } else {
            list.pop_back();
        }
        if (list.empty()) dosDevices_.erase(letter);
        return true;
    }
    if (!target || target->empty()) return false;
    if (flags & kDddRawTargetPath)
        list.push_back(*target);
    else if (PlaysWin9x())
        list.push_back(*target);
    else if (text::StartsWith(*target, "\\\\"))
        list.push_back("\\??\\UNC" + target->substr(1));
    else
        list.push_back("\\??\\" + *target);
    return true;
}

uint32_t SimulatedWindows::QueryDosDevice(const std::string& device, std::string& out,
                                          uint32_t size) {
    out.clear();
    if (Call("QueryDosDevice")) return 0;
    if (device.size() != 2 || device[1] != ':') return 0;
    const char letter = text::UpperAscii(device[0]);
    auto planted = plantedDosAnswers_.find(letter);
    if (planted != plantedDosAnswers_.end()) {
        if (planted->second.size() > size) return 0;
        out = planted->second;
        return static_cast<uint32_t>(out.size());
    }
    std::vector<std::string> targets;
    auto defined = dosDevices_.find(letter);
    if (defined != dosDevices_.end())
        targets.insert(targets.end(), defined->second.rbegin(), defined->second.rend());
    if (!PlaysWin9x()) {
        auto connection = connections_.find(letter);
        if (connection != connections_.end()) {
            auto share = shares_.find(Upper(connection->second.remoteName));
            std::string redirector =
                share == shares_.end() ? "\\Device\\LanmanRedirector" : share->second.redirector;
            targets.push_back(redirector + "\\;" + std::string(1, letter) + ":0000000000012345" +
                              connection->second.remoteName.substr(1));
        }
        auto drive = drives_.find(letter);
        if (drive != drives_.end()) targets.push_back(drive->second.device);
    }
    if (targets.empty()) return 0;
    std::string answer;
    for (const std::string& t : targets) answer += t + '\0';
    answer += '\0';
    if (answer.size() > size) return 0;
    out = answer;
    return static_cast<uint32_t>(answer.size());
}

void SimulatedWindows::PlantDosDeviceAnswer(char letter, const std::string& raw) {
    plantedDosAnswers_[text::UpperAscii(letter)] = raw;
}

std::vector<std::string> SimulatedWindows::DosDeviceTargets(char letter) {
    auto it = dosDevices_.find(text::UpperAscii(letter));
    return it == dosDevices_.end() ? std::vector<std::string>() : it->second;
}

// --- network -----------------------------------------------------------------------

std::string SimulatedWindows::NetworkKey(char letter) const {
    return std::string(PlaysWin9x() ? "Network\\Persistent\\" : "Network\\") + letter;
}

uint32_t SimulatedWindows::WNetAddConnection2(const NetResource& resource, const std::string*,
                                              const std::string*, uint32_t flags) {
    const Guard guard(mutex_);
    if (Call("WNetAddConnection2")) return oserr::kNoNetwork;
    if (resource.type != kResourceTypeDisk || resource.localName.size() != 2 ||
        resource.localName[1] != ':')
        return oserr::kBadDevice;
    const char letter = text::UpperAscii(resource.localName[0]);
    if (letter < 'A' || letter > 'Z') return oserr::kBadDevice;
    if (LetterInUse(letter)) return oserr::kAlreadyAssigned;
    auto share = shares_.find(Upper(resource.remoteName));
    if (share == shares_.end()) return oserr::kBadNetName;
    connections_[letter] = Connection{share->second.remoteName};
    if (flags & kConnectUpdateProfile) {
        const std::string key = NetworkKey(letter);
        SetRegistryString(kHkeyCurrentUser, key, "RemotePath", share->second.remoteName);
        SetRegistryString(kHkeyCurrentUser, key, "UserName", "");
        SetRegistryString(kHkeyCurrentUser, key, "ProviderName", "Microsoft Windows Network");
    }
    return oserr::kSuccess;
}

uint32_t SimulatedWindows::WNetCancelConnection(const std::string& name, bool) {
    const Guard guard(mutex_);
    if (Call("WNetCancelConnection")) return oserr::kNoNetwork;
    if (name.size() != 2 || name[1] != ':') return oserr::kNotConnected;
    const char letter = text::UpperAscii(name[0]);
    const bool connected = connections_.erase(letter) != 0;
    // The profile is updated: a remembered connection is forgotten too.
    const std::string key = RegPath(kHkeyCurrentUser, NetworkKey(letter));
    const bool remembered = registry_.erase(Upper(key)) != 0;
    return connected || remembered ? oserr::kSuccess : oserr::kNotConnected;
}

uint32_t SimulatedWindows::WNetGetConnection(const std::string& localName, std::string& remoteName,
                                             uint32_t& size) {
    remoteName.clear();
    if (Call("WNetGetConnection")) return oserr::kNoNetwork;
    if (localName.size() != 2 || localName[1] != ':') return oserr::kBadDevice;
    const char letter = text::UpperAscii(localName[0]);
    if (letter < 'A' || letter > 'Z') return oserr::kBadDevice;
    std::string remote;
    uint32_t rc = oserr::kSuccess;
    auto connection = connections_.find(letter);
    if (connection != connections_.end()) {
        remote = connection->second.remoteName;
        if (connection->second.lost) rc = oserr::kConnectionUnavailable;
    } else {
        std::string remembered;
        if (!RegistryValue(kHkeyCurrentUser, NetworkKey(letter), "RemotePath", remembered))
            return oserr::kNotConnected;
        remote = remembered;
        rc = oserr::kConnectionUnavailable;
    }
    if (remote.size() + 1 > size) {
        size = static_cast<uint32_t>(remote.size() + 1);
        return oserr::kMoreData;
    }
    remoteName = remote;
    return rc;
}

bool SimulatedWindows::IsConnected(char letter) {
    return connections_.count(text::UpperAscii(letter)) != 0;
}

void SimulatedWindows::LoseConnection(char letter) {
    const Guard guard(mutex_);
    auto connection = connections_.find(text::UpperAscii(letter));
    if (connection != connections_.end()) connection->second.lost = true;
}

// --- shell links ------------------------------------------------------------------

bool SimulatedWindows::CreateShellLink(const std::string& linkFile, const std::string& target,
                                       const std::string& arguments,
                                       const std::wstring& description,
                                       const std::string& workingFolder) {
    if (Call("CreateShellLink")) return false;
    // The shell refuses paths of MAX_PATH characters or more.
    if (target.empty() || linkFile.size() >= 260) return false;
    const std::size_t slash = linkFile.find_last_of('\\');
    if (slash == std::string::npos || slash + 1 == linkFile.size()) return false;
    const std::string folderKey = Resolve(linkFile.substr(0, slash + (slash == 2 ? 1 : 0)));
    if (folderKey.empty() || !nodes_[folderKey].folder || !WritableFolder(folderKey)) return false;
    const std::string existing = Resolve(linkFile);
    if (!existing.empty() && nodes_[existing].folder) return false;
    PutNode(linkFile, false, "L shortcut to " + target, {});
    const std::string key = Resolve(linkFile);
    if (key.empty()) return false;
    links_[key] = ShellLink{target, arguments, description, workingFolder};
    return true;
}

bool SimulatedWindows::ReadShellLink(const std::string& path, ShellLink& out) {
    const std::string key = Resolve(path);
    auto it = links_.find(key);
    if (key.empty() || it == links_.end()) return false;
    out = it->second;
    return true;
}

void SimulatedWindows::ShellChangeNotify(int32_t event, const std::string& path) {
    Call("ShellChangeNotify");
    const Guard guard(mutex_);
    shellNotices.push_back({event, path});
}

// --- elevation and the logon task -------------------------------------------------

uint32_t SimulatedWindows::TokenElevationType() {
    Call("TokenElevationType");
    return elevationType_;
}

bool SimulatedWindows::LinkedTokenInOtherSession() {
    Call("LinkedTokenInOtherSession");
    return elevationType_ != kElevationDefault && otherSession_;
}

LaunchResult SimulatedWindows::ShellExecuteAsDesktop(const std::string& file,
                                                     const std::string& parameters) {
    if (!desktopShell) return LaunchResult::NoShell;
    if (Call("ShellExecuteAsDesktop")) return LaunchResult::Failed;
    const Guard guard(mutex_);
    launches.push_back({file, parameters, false});
    return LaunchResult::Started;
}

LaunchResult SimulatedWindows::RunElevatedAndWait(const std::string& file,
                                                  const std::string& parameters,
                                                  uint32_t& exitCode) {
    if (Call("RunElevatedAndWait")) return LaunchResult::Failed;
    if (declineElevation) return LaunchResult::Declined;
    launches.push_back({file, parameters, true});
    // The elevated program runs on this machine with the full token.
    const uint32_t before = elevationType_;
    elevationType_ = kElevationFull;
    exitCode = elevatedRun ? elevatedRun(launches.back()) : 0;
    elevationType_ = before;
    return LaunchResult::Started;
}

int32_t SimulatedWindows::CreateLogonTask(const std::string& name, const std::string& program,
                                          const std::string& arguments) {
    if (Call("CreateLogonTask")) return oserr::kAccessDenied;
    // A task with the highest rights needs them: an administrator's filtered
    // token is refused.
    if (elevationType_ == kElevationLimited) return oserr::kAccessDenied;
    const Guard guard(mutex_);
    logonTasks[name] = {program, arguments};
    return oserr::kSuccess;
}

int32_t SimulatedWindows::DeleteLogonTask(const std::string& name) {
    if (Call("DeleteLogonTask")) return oserr::kAccessDenied;
    const Guard guard(mutex_);
    if (!logonTasks.count(name)) return oserr::kSuccess;
    if (elevationType_ == kElevationLimited) return oserr::kAccessDenied;
    logonTasks.erase(name);
    return oserr::kSuccess;
}

bool SimulatedWindows::LogonTaskExists(const std::string& name) {
    if (Call("LogonTaskExists")) return false;
    const Guard guard(mutex_);
    return logonTasks.count(name) != 0;
}

std::vector<std::string> SimulatedWindows::ProgramFilesFolders() {
    Call("ProgramFilesFolders");
    return programFiles;
}

uint32_t SimulatedWindows::WNetCancelConnectionHere(const std::string& name, bool) {
    const Guard guard(mutex_);
    if (Call("WNetCancelConnectionHere")) return oserr::kNoNetwork;
    if (name.size() != 2 || name[1] != ':') return oserr::kNotConnected;
    // The profile's remembered connection stays.
    return connections_.erase(text::UpperAscii(name[0])) != 0 ? oserr::kSuccess
                                                              : oserr::kNotConnected;
}

// --- system, windows, code page ----------------------------------------------------

bool SimulatedWindows::GetVersionEx(OsVersion& out) {
    if (Call("GetVersionEx")) return false;
    out = version_;
    return true;
}

bool SimulatedWindows::GetVersionExtended(OsVersion& out) {
    if (Call("GetVersionExtended")) return false;
    if (version_.platformId != kPlatformNt) return false;
    out = version_;
    return true;
}

bool SimulatedWindows::GetProductInfo(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t& product) {
    if (Call("GetProductInfo")) return false;
    if (version_.platformId != kPlatformNt || version_.majorVersion < 6) return false;
    product = productInfo_;
    return true;
}

uint16_t SimulatedWindows::NativeProcessorArchitecture() {
    Call("NativeProcessorArchitecture");
    return architecture_;
}

int SimulatedWindows::GetSystemMetrics(int index) {
    Call("GetSystemMetrics");
    auto it = metrics_.find(index);
    return it == metrics_.end() ? 0 : it->second;
}

std::string SimulatedWindows::SystemDirectory() {
    if (Call("SystemDirectory")) return {};
    return systemDirectory_;
}

std::string SimulatedWindows::ModuleFileName() {
    Call("GetModuleFileName");
    return exePath_;
}

std::string SimulatedWindows::CommandLineArguments() {
    Call("GetCommandLine");
    return commandLine_;
}

bool SimulatedWindows::HasVersionResource(const std::string& path) {
    return (fileVersions_.count(Upper(path)) && PathExists(path)) ||
           text::EqualsNoCase(path, exePath_);
}

bool SimulatedWindows::GetFileVersion(const std::string& path, FileVersion& out) {
    if (Call("GetFileVersion")) return false;
    auto it = fileVersions_.find(Upper(path));
    if (it != fileVersions_.end() && PathExists(path)) {
        out = it->second;
        return true;
    }
    if (!text::EqualsNoCase(path, exePath_)) return false;
    out = fileVersion_;
    return true;
}

bool SimulatedWindows::GetFileVersionString(const std::string& path, const std::string& name,
                                            std::wstring& out) {
    out.clear();
    if (Call("GetFileVersionString") || !HasVersionResource(path)) return false;
    auto file = versionStrings_.find(Upper(path));
    if (file == versionStrings_.end()) return false;
    auto entry = file->second.find(Upper(name));
    if (entry == file->second.end()) return false;
    out = entry->second;
    return true;
}

bool SimulatedWindows::GetUserName(std::string& out, uint32_t size) {
    out.clear();
    if (Call("GetUserName")) return false;
    if (userName_.size() + 1 > size) return false;
    out = userName_;
    return true;
}

void SimulatedWindows::AddTopWindow(std::uintptr_t handle, const std::string& title,
                                    uint32_t processId, const std::string& exeName) {
    windows_.push_back(Window{TopWindow{handle, title, processId}, exeName});
}

std::vector<TopWindow> SimulatedWindows::TopLevelWindows() {
    Call("TopLevelWindows");
    std::vector<TopWindow> list;
    for (const Window& w : windows_) list.push_back(w.window);
    return list;
}

std::string SimulatedWindows::ProcessExeName(uint32_t processId) {
    Call("ProcessExeName");
    for (const Window& w : windows_)
        if (w.window.processId == processId) return w.exeName;
    return {};
}

void SimulatedWindows::ActivateWindow(std::uintptr_t handle) {
    Call("ActivateWindow");
    activated_.push_back(handle);
}

std::wstring SimulatedWindows::AnsiToWide(const std::string& text) {
    std::wstring out;
    out.reserve(text.size());
    for (char c : text) {
        unsigned char b = static_cast<unsigned char>(c);
        wchar_t w = b >= 0x80 && b < 0xA0 ? k1252High[b - 0x80] : static_cast<wchar_t>(b);
        out.push_back(w == 0 ? static_cast<wchar_t>(b) : w);
    }
    return out;
}

std::string SimulatedWindows::WideToAnsi(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t w : text) {
        if (w < 0x80 || (w >= 0xA0 && w <= 0xFF)) {
            out.push_back(static_cast<char>(w));
            continue;
        }
        char c = '?';
        // The five bytes the code page leaves undefined come back from the
        // characters they were read as.
        for (int i = 0; i < 32; ++i)
            if (k1252High[i] == w || (k1252High[i] == 0 && w == static_cast<wchar_t>(0x80 + i)))
                c = static_cast<char>(0x80 + i);
        out.push_back(c);
    }
    return out;
}

bool SimulatedWindows::WideToAnsiExact(const std::wstring& text, std::string& out) {
    out = WideToAnsi(text);
    // Every character outside the code page came back as the default one.
    return AnsiToWide(out) == text;
}

// --- letter case ---------------------------------------------------------------

namespace {

// Windows-1251: capital and small letters outside the contiguous А..я block.
constexpr unsigned char k1251Pairs[][2] = {{0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C},
                                           {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2},
                                           {0xA3, 0xBC}, {0xA5, 0xB4}, {0xA8, 0xB8}, {0xAA, 0xBA},
                                           {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE}};

}  // namespace

char SimulatedWindows::UpperInCodePage(char c) const {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x80 || codePage_ == 1252) return text::Upper(std::string(1, c))[0];
    if (codePage_ != 1251) return c;
    if (b >= 0xE0) return static_cast<char>(b - 0x20);
    for (const auto& pair : k1251Pairs)
        if (pair[1] == b) return static_cast<char>(pair[0]);
    return c;
}

bool SimulatedWindows::SameSection(const std::string& a, const std::string& b) const {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperInCodePage(a[i]) != UpperInCodePage(b[i])) return false;
    return true;
}

uint32_t SimulatedWindows::CharUpperBuff(std::string& text) {
    if (Call("CharUpperBuff")) return 0;
    for (char& c : text) c = UpperInCodePage(c);
    return static_cast<uint32_t>(text.size());
}

}  // namespace kelvra::sim
