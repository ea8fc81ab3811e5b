#include "platform/win32/shell_launch.h"

namespace kelvra::win32 {

void StartOle() {
    static const bool started = SUCCEEDED(OleInitialize(nullptr));
    (void)started;
}

// HTML Help is loaded when first needed.
void OpenHtmlHelp(HWND owner, const std::wstring& file, const wchar_t* topic) {
    using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    static HMODULE module = LoadLibraryW(L"hhctrl.ocx");
    static const auto htmlHelp = module ? reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(
                                              GetProcAddress(module, "HtmlHelpW")))
                                        : nullptr;
    if (!htmlHelp || file.empty()) return;
    StartOle();
    std::wstring target = file;
    if (topic) target += std::wstring(L"::/") + topic;
    // The help's own window definition, with its navigation pane open.
    target += L">main";
    htmlHelp(owner, target.c_str(), topic ? 0 /* HH_DISPLAY_TOPIC */ : 1 /* HH_DISPLAY_TOC */, 0);
}

void OpenDocument(const std::wstring& path) {
    StartOle();
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(GetDesktopWindow(), L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    // A system without a viewer for plain text (a bare setup) still has
    // Notepad: the history should not silently fail to open.
    if (result == SE_ERR_NOASSOC) {
        const std::wstring quoted = L"\"" + path + L"\"";
        ShellExecuteW(GetDesktopWindow(), L"open", L"notepad.exe", quoted.c_str(), nullptr,
                      SW_SHOWNORMAL);
    }
}

}  // namespace kelvra::win32
