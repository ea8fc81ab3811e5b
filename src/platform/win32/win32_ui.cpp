#include "platform/win32/win32_ui.h"

#include "platform/win32/frm_hint.h"
#include "platform/win32/handles.h"
#include "platform/win32/input_box.h"
#include "platform/win32/shell_launch.h"

namespace kelvra {

int Win32Ui::MessageBox(const std::wstring& text, const std::wstring& caption, unsigned style) {
    return MessageBoxW(owner_, text.c_str(), caption.c_str(), style);
}

bool Win32Ui::InputBox(const std::wstring& prompt, const std::wstring& caption,
                       const std::wstring& defaultText, std::wstring& answer) {
    return ShowInputBox(owner_, prompt, caption, defaultText, answer);
}

std::wstring Win32Ui::BrowseForFolder(const std::wstring& title) {
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info = {};
    info.hwndOwner = owner_;
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;  // 0x11
    win32::StartOle();
    const win32::UniqueItemList item(SHBrowseForFolderW(&info));
    if (!item) return {};
    wchar_t path[MAX_PATH + 1] = {};
    return SHGetPathFromIDListW(item.get(), path) ? std::wstring(path) : std::wstring();
}

bool Win32Ui::HintBox(const std::wstring& caption, const std::wstring& text,
                      const std::wstring& checkCaption, const std::wstring& okCaption) {
    return ShowHintWindow(owner_, caption, text, checkCaption, okCaption);
}

DriveIndex Win32Ui::LetterPopup(const std::wstring& title, const std::vector<DriveIndex>& letters,
                                const std::wstring& cancelCaption) {
    // Command ids: a letter's own index 1..26, so the answer needs no table;
    // the title and cancel items lie outside that range.
    constexpr UINT kIdTitle = 100;
    constexpr UINT kIdCancel = 101;
    win32::UniqueMenu popup(CreatePopupMenu());
    if (!popup.get()) return 0;
    AppendMenuW(popup.get(), MF_STRING | MF_GRAYED, kIdTitle, title.c_str());
    AppendMenuW(popup.get(), MF_SEPARATOR, 0, nullptr);
    for (DriveIndex letter : letters) {
        if (letter < 1 || letter > 26) continue;
        const wchar_t caption[] = {static_cast<wchar_t>(L'A' + letter - 1), L':', L'\0'};
        AppendMenuW(popup.get(), MF_STRING, static_cast<UINT>(letter), caption);
    }
    AppendMenuW(popup.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(popup.get(), MF_STRING, kIdCancel, cancelCaption.c_str());
    POINT at = {};
    GetCursorPos(&at);
    // Without the foreground a popup of a hidden window would not take the
    // keyboard and would not close on a click elsewhere.
    SetForegroundWindow(owner_);
    const int chosen = static_cast<int>(TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                       at.x, at.y, 0, owner_, nullptr));
    // Lets the menu close properly when the next click goes elsewhere.
    PostMessageW(owner_, WM_NULL, 0, 0);
    return chosen >= 1 && chosen <= 26 ? chosen : 0;
}

}  // namespace kelvra
