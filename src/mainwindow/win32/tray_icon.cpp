#include "mainwindow/win32/tray_icon.h"

#include <string>

#include "language/language.h"
#include "mainwindow/win32/main_ids.h"
#include "platform/win32/handles.h"

namespace kelvra {
namespace {

constexpr UINT kTrayId = 0;

}  // namespace

void TrayIcon::Attach(HWND window) {
    window_ = window;
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
}

bool TrayIcon::Set(bool add) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = kTrayId;
    if (add) {
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = kMessage;
        data.hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                                   IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        lstrcpynW(data.szTip, L"Kelvra", ARRAYSIZE(data.szTip));
        return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    }
    return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

bool TrayIcon::Check(bool noReadd) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = kTrayId;
    if (Shell_NotifyIconW(NIM_MODIFY, &data)) return true;
    if (!noReadd) {
        Set(false);
        Set(true);
    }
    return false;
}

// An unowned window has a taskbar button whenever it is visible, so taking
// the button away means keeping the window hidden until it comes back.
void TrayIcon::SetTaskbarButton(bool on) {
    const bool visible = IsWindowVisible(window_) != FALSE;
    ShowWindow(window_, SW_HIDE);
    LONG_PTR ex = GetWindowLongPtrW(window_, GWL_EXSTYLE);
    ex = on ? (ex | WS_EX_APPWINDOW) : (ex & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW));
    SetWindowLongPtrW(window_, GWL_EXSTYLE, ex);
    if (visible && on) ShowWindow(window_, SW_SHOW);
}

int TrayIcon::TrackMenu(const LanguageState& language) {
    // Foreground first, or the menu would not close when the user clicks
    // elsewhere.
    SetForegroundWindow(window_);
    win32::UniqueMenu tray(CreatePopupMenu());
    const std::wstring restore = Text(language, TextKey::main_mnutrayrestore);
    const std::wstring exit = Text(language, TextKey::main_mnutrayexit);
    AppendMenuW(tray.get(), MF_STRING, kIdMnuTrayRestore, restore.c_str());
    AppendMenuW(tray.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(tray.get(), MF_STRING, kIdMnuTrayExit, exit.c_str());
    SetMenuDefaultItem(tray.get(), kIdMnuTrayRestore, FALSE);
    POINT at;
    GetCursorPos(&at);
    const int chosen = TrackPopupMenu(tray.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0,
                                      window_, nullptr);
    PostMessageW(window_, WM_NULL, 0, 0);
    return chosen;
}

}  // namespace kelvra
