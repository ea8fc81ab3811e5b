#include "startup/context.h"

#include <algorithm>
#include <string_view>

#include "drives/keywords.h"
#include "drives/scan.h"
#include "drives/subst.h"
#include "language/messages.h"
#include "mainwindow/commands.h"
#include "mainwindow/main_window.h"
#include "platform/error_mode.h"
#include "platform/inireg.h"
#include "program.h"
#include "util/text.h"

namespace kelvra {

namespace {

constexpr std::string_view kSetSwitch = "/SET=";
constexpr std::string_view kCutSwitch = "/CUT=";
// No path on Windows holds a control character; a NUL would even cut the
// path short inside the system call and so name another folder.
bool HasControlCharacter(std::string_view path) {
    return std::any_of(path.begin(), path.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 32; });
}

// "X:\..." or a share "\\server\...". A bare "X:" or a relative path would
// be resolved against whatever the current folder is; "\\?\" and "\\.\"
// name devices and raw paths, not shares.
bool IsAbsolutePath(std::string_view path) {
    if (path.size() >= 3 && DriveIndexOf(path[0]) != 0 && path[1] == ':' && path[2] == '\\')
        return true;
    return IsSharePath(path) && !text::StartsWith(path, "\\\\?\\") &&
           !text::StartsWith(path, "\\\\.\\");
}

// "X:" or "X:\" with a letter A..Z.
bool IsDriveRoot(std::string_view path) {
    return (path.size() == 2 || (path.size() == 3 && path[2] == '\\')) &&
           DriveIndexOf(path[0]) != 0 && path[1] == ':';
}

// Every occurrence of `what`, in any letter case, replaced by `with`; the
// inserted text is not searched again.
std::string ReplaceAllNoCase(const std::string& in, const std::string& what,
                             const std::string& with) {
    if (what.empty()) return in;
    // Upper-casing keeps every character in its place, so positions match.
    const std::string upperIn = text::Upper(in);
    const std::string upperWhat = text::Upper(what);
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = upperIn.find(upperWhat); at != std::string::npos;
         at = upperIn.find(upperWhat, from)) {
        out.append(in, from, at - from);
        out += with;
        from = at + what.size();
    }
    out.append(in, from, std::string::npos);
    return out;
}

// Explorer names some network places by their display text with the server
// in parentheses, "\\Text (NAME)\share"; the system knows them as
// "\\NAME\share".
std::string WithServerNames(const std::string& path) {
    const std::size_t close = path.find(")\\");
    if (close == std::string::npos || !IsSharePath(path)) return path;
    const std::size_t open = path.rfind('(', close);
    if (open == std::string::npos) return path;
    const std::string server = path.substr(open + 1, close - open - 1);
    return ReplaceAllNoCase(path, path.substr(0, close + 1), "\\\\" + server);
}

void DisconnectCommand(Program& program) {
    const std::string& path = program.context.ContextPath;
    // A share path or anything else that does not begin with a letter names
    // no row; it is refused like any other drive that cannot be disconnected.
    const DriveIndex index = DriveIndexOf(path[0]);
    const DriveTables& drives = program.drives;
    const bool qualifies = index != 0 && !IsVirtualMachineShare(drives.main[index]) &&
                           (IsSubst(drives, index) || IsRemote(drives, index)) &&
                           !LetterTakenByOtherDevice(program, Device(index));
    if (!qualifies) {
        ShowError(program, TextKey::main_msgshell_errorkill);
        return;
    }
    DisconnectDrive(program, index);
}

void ConnectCommand(Program& program) {
    const std::string& path = program.context.ContextPath;
    if (!IsSharePath(path)) {
        if (FolderOnSubstOrNetworkDrive(program, DriveIndexOf(path[0]))) {
            ShowError(program, TextKey::main_msgshell_errornew);
            return;
        }
        // A drive root: subst drives on it confuse the recycle bin.
        if (path.size() < 4) ShowHint(program, 2);
    }
    const std::vector<DriveIndex> letters = FreeLetters(program);
    if (letters.empty()) {
        ShowError(program, TextKey::main_msgshell_errornodrives);
        return;
    }
    const LanguageState& language = program.language;
    const std::wstring title =
        std::wstring(kCaptionPrefix) + Text(language, TextKey::main_mnushelltitle);
    const DriveIndex chosen =
        program.ui.LetterPopup(title, letters, Text(language, TextKey::main_mnushellcancel));
    if (chosen != 0) mnuShell_Click(program, chosen);
}

}  // namespace

std::string NormalizeContextPath(Os& os, const std::string& path) {
    if (path.empty() || HasControlCharacter(path)) return {};
    std::string p = path;
    // A drive root such as C:\ keeps its backslash.
    if (p.size() > 3 && p.back() == '\\') p.pop_back();
    p = WithServerNames(p);
    if (!IsAbsolutePath(p)) return {};
    if (DirExists(os, p)) return p;
    if (!FileExists(os, p)) return {};
    const std::size_t slash = p.rfind('\\');
    if (slash == std::string::npos || slash < 1) return {};
    std::string folder = p.substr(0, slash);
    // A file in a drive's root: "C:" alone would name the current folder of
    // that drive, not its root.
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return DirExists(os, folder) ? folder : std::string();
}

bool StartContextCommand(Program& program, const std::string& commandLine) {
    ContextState& context = program.context;
    context = ContextState{};
    // The path starts right after the switch, so only a switch at the very
    // beginning has a path; anywhere else the rest would be taken for one.
    const bool connect = text::StartsWithNoCase(commandLine, kSetSwitch);
    if (!connect && !text::StartsWithNoCase(commandLine, kCutSwitch)) return false;
    std::string raw = commandLine.substr(kSetSwitch.size());
    raw.erase(std::remove(raw.begin(), raw.end(), '"'), raw.end());
    context.ContextConnect = connect;
    // Disconnecting needs only the letter. The root of a network drive whose
    // server is out of reach, or of a subst drive whose folder is gone, names
    // no existing folder, yet the user must be able to disconnect it.
    if (!connect && IsDriveRoot(raw)) {
        context.ContextPath = std::string(1, DriveLetter(DriveIndexOf(raw[0]))) + ":\\";
        return true;
    }
    context.ContextPath = LongPathName(program.os, NormalizeContextPath(program.os, raw));
    return !context.ContextPath.empty();
}

std::vector<DriveIndex> FreeLetters(const Program& program) {
    std::vector<DriveIndex> letters;
    for (DriveIndex i = 1; i <= kDriveCount; ++i)
        if (program.drives.main[i].Type == kw::kFree) letters.push_back(i);
    return letters;
}

void ContextCommand(Program& program) {
    if (program.context.ContextPath.empty()) return;
    // The scan asks the long name of every subst target, the disconnect
    // what a letter is: an empty card reader must not raise the system's
    // "no disk" box.
    QuietDriveErrors quiet(program.os);
    // Without a scan no row would be free and no drive known.
    if (!program.drives.scanned) RefreshAll(program);
    if (program.context.ContextConnect)
        ConnectCommand(program);
    else
        DisconnectCommand(program);
}

void mnuShell_Click(Program& program, DriveIndex index) {
    const ContextState& context = program.context;
    if (!context.ContextConnect || context.ContextPath.empty()) return;
    if (index < 1 || index > kDriveCount) return;
    DriveRecord& row = program.drives.main[index];
    if (row.Type != kw::kFree) return;
    // Whatever label a vanished drive left in the row is not this drive's.
    row.Label.clear();
    row.State.clear();
    const ConnectResult connected =
        ConnectDrive(program, context.ContextPath, index, Permanence::FromSettings);
    {
        QuietDriveErrors quiet(program.os);
        RefreshAll(program);
    }
    if (connected.WantShortcut) CreateDesktopShortcut(program, index, true);
}

}  // namespace kelvra
