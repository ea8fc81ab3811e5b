#include "drives/subst.h"

#include <algorithm>

#include "util/text.h"

namespace kelvra {

namespace {

constexpr uint32_t kDeviceBufferSize = 260;
constexpr uint32_t kPathBufferSize = 255;

bool IsDriveDevice(const std::string& device) {
    if (device.size() != 2 || device[1] != ':') return false;
    const char letter = text::UpperAscii(device[0]);
    return letter >= 'A' && letter <= 'Z';
}

// The current (first) target of a DOS-device answer. Earlier stacked
// definitions follow it after a NUL; joining them would make a path that
// exists nowhere.
std::string CurrentTarget(Os& os, const std::string& device) {
    return text::CutAtNul(DosDeviceAnswer(os, device));
}

// The folder of a mapping target: NT answers "\??\" + path ("\??\UNC\..." for
// a share), Windows 9x the plain path. Empty for device targets.
std::string MappedFolder(const std::string& target) {
    if (text::StartsWith(target, "\\??\\")) {
        std::string path = target.substr(4);
        if (text::StartsWithNoCase(path, "UNC\\")) return "\\" + path.substr(3);
        return path;
    }
    if (target.size() >= 2 && target[1] == ':') return target;
    return {};
}

using Convert = uint32_t (Os::*)(const std::string&, std::string&, uint32_t);

std::string ConvertPath(Os& os, const std::string& path, Convert convert) {
    if (path.empty()) return {};
    std::string out;
    uint32_t r = (os.*convert)(path, out, kPathBufferSize);
    // r at or above the buffer size is the size needed: the form did not fit.
    if (r == 0 || r >= kPathBufferSize) return {};
    out.resize(std::min<std::size_t>(r, out.size()));
    return out;
}

}  // namespace

std::string DosDeviceAnswer(Os& os, const std::string& device) {
    std::string raw;
    uint32_t n = os.QueryDosDevice(device, raw, kDeviceBufferSize);
    if (n <= 2) return {};
    raw.resize(std::min<std::size_t>(n, raw.size()));
    return raw;
}

bool DefineSubst(Os& os, const std::string& device, const std::string& folder) {
    if (!IsDriveDevice(device) || folder.empty()) return false;
    return os.DefineDosDevice(0, device, &folder);
}

bool RemoveSubst(Os& os, const std::string& device) {
    if (!IsSubstDevice(os, device)) return false;
    return os.DefineDosDevice(kDddRemoveDefinition, device, nullptr);
}

bool IsSubstDevice(Os& os, const std::string& device) {
    return IsDriveDevice(device) && !MappedFolder(CurrentTarget(os, device)).empty();
}

std::string SubstTarget(Os& os, const std::string& device) {
    return SubstTargetFromAnswer(os, DosDeviceAnswer(os, device));
}

std::string SubstTargetFromAnswer(Os& os, const std::string& answer) {
    return LongPathName(os, MappedFolderOf(answer));
}

std::string MappedFolderOf(const std::string& dosDeviceAnswer) {
    return MappedFolder(text::CutAtNul(dosDeviceAnswer));
}

std::string LongPathName(Os& os, const std::string& path) {
    return ConvertPath(os, path, &Os::GetLongPathName);
}

std::string ShortPathName(Os& os, const std::string& path) {
    return ConvertPath(os, path, &Os::GetShortPathName);
}

bool PathTooLongForSubst(Os& os, const std::string& path) {
    if (path.size() >= kPathBufferSize) return true;
    // A short name typed into the chooser can stand for a longer long form.
    std::string out;
    return os.GetLongPathName(path, out, kPathBufferSize) >= kPathBufferSize ||
           os.GetShortPathName(path, out, kPathBufferSize) >= kPathBufferSize;
}

}  // namespace kelvra
