// Own drive labels and desktop shortcuts.
#include "drives/scan.h"
#include "language/messages.h"
#include "mainwindow/commands.h"
#include "mainwindow/commands_internal.h"
#include "mainwindow/main_window.h"
#include "platform/error_mode.h"
#include "platform/inireg.h"
#include "shell/drive_changes.h"

namespace kelvra {

using commands::AllowedRow;
using commands::InTable;

namespace {

constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr std::wstring_view kForbidden = L"\\/:*?\"<>|";
constexpr std::string_view kLinkExtension = ".lnk";
// The shell writes no shortcut whose full path, with its NUL, exceeds MAX_PATH.
constexpr std::size_t kMaxLinkPath = 259;

// Blanks and dots alone make no file name: Windows drops them at the end.
bool NamesNothing(std::wstring_view name) {
    return name.find_first_not_of(L" .") == std::wstring_view::npos;
}

}  // namespace

std::wstring ShownLabel(Program& program, DriveIndex index) {
    std::string label = program.drives.main[index].Label;
    if (label.empty()) {
        // An empty floppy or card reader must fail quietly, not ask for a disk.
        QuietDriveErrors quiet(program.os);
        label = VolumeLabel(program.os, Device(index));
    }
    return program.os.AnsiToWide(label);
}

std::wstring RemoveInvalidChars(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text)
        if (c >= 32 && kForbidden.find(c) == std::wstring_view::npos) out.push_back(c);
    return out;
}

bool SetDriveLabel(Program& program, DriveIndex index, const std::wstring& text) {
    if (!InTable(index)) return false;
    std::string label;  // "*" removes the own label, so the volume's shows again
    if (!text.empty() && text != L"*") {
        std::wstring cleaned = RemoveInvalidChars(text);
        if (cleaned.size() > kMaxLabelLength) cleaned.resize(kMaxLabelLength);
        // Nothing a label may hold was typed: the label stays ("*" removes it).
        if (cleaned.empty()) return false;
        if (!ToCodePage(program, cleaned, label)) return false;
    }
    program.drives.main[index].Label = label;
    SaveSettings(program, program.view->CaptureLayout());
    AfterDriveChange(program, index, DriveChange::Relabelled);
    DisplayRefresh(program);
    return true;
}

void EditDriveLabel(Program& program, DriveIndex index) {
    if (!InTable(index)) return;
    const std::wstring current = ShownLabel(program, index);
    const std::wstring answer = AskInput(program, TextKey::main_inprename, current);
    if (answer.empty() || answer == current) return;
    SetDriveLabel(program, index, answer);
}

void cmdRename_Click(Program& program) {
    const BusyScope busy(program);
    EditDriveLabel(program, AllowedRow(program, Command::Rename));
}

// The desktop folder as the shell records it; empty when unknown.
static std::string DesktopFolder(Os& os) {
    std::string desktop;
    std::string typeName;
    if (RegGetValue(os, kHkeyCurrentUser, kShellFoldersKey, "Desktop", desktop, typeName) !=
        oserr::kSuccess)
        return {};
    return desktop;
}

std::wstring OfferedShortcutName(Program& program, DriveIndex index) {
    if (!InTable(index)) return {};
    return InputDefault(program, TextKey::main_inplink, index) + L" (" +
           ShownLabel(program, index) + L")";
}

void CreateDesktopShortcut(Program& program, DriveIndex index, bool silent) {
    if (!InTable(index) || DesktopFolder(program.os).empty()) return;
    std::wstring name = InputDefault(program, TextKey::main_inplink, index);
    if (!silent) {
        name = AskInput(program, TextKey::main_inplink, OfferedShortcutName(program, index));
        if (name.empty()) return;
    }
    CreateNamedShortcut(program, index, name);
}

bool CreateNamedShortcut(Program& program, DriveIndex index, std::wstring name) {
    if (!InTable(index)) return false;
    Os& os = program.os;
    const std::string desktop = DesktopFolder(os);
    if (desktop.empty()) return false;
    name = RemoveInvalidChars(name);
    // A long name is cut to the room the desktop folder leaves, as labels are
    // cut; a folder that leaves none cannot take a shortcut at all.
    const std::string folder = text::WithBackslash(desktop);
    const std::size_t used = folder.size() + kLinkExtension.size();
    if (used >= kMaxLinkPath) {
        ShowError(program, TextKey::main_msglink_errorcreate);
        return false;
    }
    const std::size_t room = kMaxLinkPath - used;
    if (name.size() > room) name.resize(room);
    if (NamesNothing(name)) {
        // The file would be named ".lnk".
        ShowError(program, TextKey::main_msglink_errorname);
        return false;
    }
    std::string fileName;
    if (!ToCodePage(program, name, fileName)) return false;
    // A double-byte code page needs more bytes than characters.
    while (fileName.size() > room) {
        name.pop_back();
        os.WideToAnsiExact(name, fileName);
    }

    const std::string device = Device(index);
    // A letter now held by another device: the remembered path is not what
    // the shortcut opens.
    std::string pathText = program.drives.main[index].Path;
    bool taken;
    {
        QuietDriveErrors quiet(os);
        taken = LetterTakenByOtherDevice(program, device);
    }
    if (taken) pathText.clear();
    if (pathText.empty()) pathText = device + "\\";
    const std::string linkFile = folder + fileName + std::string(kLinkExtension);
    if (os.CreateShellLink(linkFile, device, "", LinkComment(program, pathText), "")) return true;
    ShowError(program, TextKey::main_msglink_errorcreate);
    return false;
}

void cmdLink_Click(Program& program) {
    const BusyScope busy(program);
    CreateDesktopShortcut(program, AllowedRow(program, Command::Link), false);
}

}  // namespace kelvra
