#include "mainwindow/win32/win32_ui.h"

#include <shlobj.h>

#include "mainwindow/win32/input_box.h"

namespace kelvra {

int Win32Ui::MessageBox(const std::wstring& text, const std::wstring& caption, unsigned style) {
    return MessageBoxW(owner_, text.c_str(), caption.c_str(), style);
}

bool Win32Ui::InputBox(const std::wstring& prompt, const std::wstring& caption,
                       const std::wstring& defaultText, std::wstring& answer) {
    return ShowInputBox(owner_, prompt, caption, defaultText, answer);
}

std::string Win32Ui::BrowseForFolder(const std::wstring& title) {
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info = {};
    info.hwndOwner = owner_;
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;  // 0x11
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
    if (!item) return {};
    // Paths cross the program in the system code page.
    char path[MAX_PATH + 1] = {};
    BOOL ok = SHGetPathFromIDListA(item, path);
    CoTaskMemFree(item);
    return ok ? std::string(path) : std::string();
}

bool Win32Ui::HintBox(const std::wstring&, const std::wstring&, const std::wstring&,
                      const std::wstring&) {
    return false;
}

}  // namespace kelvra
