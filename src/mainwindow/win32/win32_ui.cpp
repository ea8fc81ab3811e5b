#include "mainwindow/win32/win32_ui.h"

#include <shlobj.h>

#include "mainwindow/win32/frm_hint.h"
#include "mainwindow/win32/input_box.h"

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
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
    if (!item) return {};
    wchar_t path[MAX_PATH + 1] = {};
    BOOL ok = SHGetPathFromIDListW(item, path);
    CoTaskMemFree(item);
    return ok ? std::wstring(path) : std::wstring();
}

bool Win32Ui::HintBox(const std::wstring& caption, const std::wstring& text,
                      const std::wstring& checkCaption, const std::wstring& okCaption) {
    return ShowHintWindow(owner_, caption, text, checkCaption, okCaption);
}

}  // namespace kelvra
