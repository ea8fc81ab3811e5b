#include "mainwindow/win32/frm_main.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "drives/scan.h"
#include "program.h"
#include "startup/settings.h"

namespace kelvra {

static const wchar_t kClassName[] = L"KelvraMainWindow";
static constexpr UINT kTrayMessage = WM_APP + 1;
static constexpr UINT kTrayId = 1;

bool FrmMain::Load(HINSTANCE instance, bool visible) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &FrmMain::WndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);

    const std::wstring title =
        L"Kelvra V" + program_.os.AnsiToWide(program_.startup.ApplicationVersion);
    RECT work = {0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = 600, height = 560;
    hwnd_ = CreateWindowExW(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW,
                            work.left + std::max<int>((work.right - work.left - width) / 2, 0),
                            work.top + std::max<int>((work.bottom - work.top - height) / 2, 0),
                            width, height, nullptr, nullptr, instance, this);
    if (!hwnd_) return false;
    if (visible) {
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        UpdateWindow(hwnd_);
        SetForegroundWindow(hwnd_);
    }
    return true;
}

void FrmMain::TrayIconSet() {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = hwnd_;
    data.uID = kTrayId;
    data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    lstrcpynW(data.szTip, L"Kelvra", ARRAYSIZE(data.szTip));
    trayIconShown_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

LRESULT CALLBACK FrmMain::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<FrmMain*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FrmMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->OnMessage(message, wParam, lParam);
}

LRESULT FrmMain::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_SIZE:
            OnSize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case kTrayMessage:
            if (lParam == WM_LBUTTONDBLCLK) {
                ShowWindow(hwnd_, SW_SHOWNORMAL);
                SetForegroundWindow(hwnd_);
            }
            return 0;
        case WM_CLOSE:
            Unload();
            return 0;
        case WM_DESTROY:
            if (font_) DeleteObject(font_);
            font_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

// Until the drive list exists the window shows the scanned drive table as
// plain text, so that what the program sees can be checked by eye.
std::wstring FrmMain::DriveTableText() {
    const StartupState& s = program_.startup;
    Os& os = program_.os;
    std::wstring text = L"User: " + os.AnsiToWide(s.User) + L"\r\nSettings file: " +
                        os.AnsiToWide(s.IniFilePath) + L"\r\n\r\n";
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        const DriveRecord& row = program_.drives.main[i];
        std::string line = row.Drive + "  " + row.Type;
        line.resize(std::max<std::size_t>(line.size(), 24), ' ');
        line += (row.Permanent.empty() ? "   " : row.Permanent) + "  " + row.Path;
        if (!row.State.empty()) line += "  [" + row.State + "]";
        if (!row.Label.empty()) line += "  \"" + row.Label + "\"";
        text += os.AnsiToWide(line) + L"\r\n";
    }
    return text;
}

void FrmMain::OnCreate() {
    font_ = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        FIXED_PITCH | FF_MODERN, L"Courier New");
    RefreshAll(program_);
    info_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", DriveTableText().c_str(),
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                            0, 0, 0, 0, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (font_) SendMessageW(info_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
}

void FrmMain::OnSize(int width, int height) {
    if (info_) MoveWindow(info_, 8, 8, std::max(width - 16, 0), std::max(height - 16, 0), TRUE);
}

// Unloading rescans, so the drive entries are written from the present state,
// saves everything and removes the notification-area icon.
void FrmMain::Unload() {
    RefreshAll(program_);
    SaveSettings(program_);
    if (trayIconShown_) {
        NOTIFYICONDATAW data = {};
        data.cbSize = sizeof data;
        data.hWnd = hwnd_;
        data.uID = kTrayId;
        Shell_NotifyIconW(NIM_DELETE, &data);
        trayIconShown_ = false;
    }
    DestroyWindow(hwnd_);
}

}  // namespace kelvra
