#include "mainwindow/win32/frm_main.h"

#include <shellapi.h>

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
    hwnd_ = CreateWindowExW(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, 520, 220, nullptr, nullptr, instance, this);
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

void FrmMain::OnCreate() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font_ = CreateFontIndirectW(&metrics.lfMessageFont);
    const StartupState& s = program_.startup;
    Os& os = program_.os;
    const std::wstring text = L"User: " + os.AnsiToWide(s.User) + L"\r\nSettings file: " +
                              os.AnsiToWide(s.IniFilePath) + L"\r\nProgram folder: " +
                              os.AnsiToWide(s.ApplicationPath);
    info_ = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 12, 12,
                            480, 120, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (font_) SendMessageW(info_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
}

void FrmMain::OnSize(int width, int height) {
    if (info_)
        MoveWindow(info_, 12, 12, width > 24 ? width - 24 : 0, height > 24 ? height - 24 : 0, TRUE);
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
