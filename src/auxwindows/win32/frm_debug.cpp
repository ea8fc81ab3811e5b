#include "auxwindows/win32/frm_debug.h"

#include <algorithm>
#include <string>
#include <utility>

#include "language/language.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_support.h"
#include "program.h"

namespace kelvra {

namespace {

const wchar_t kClassName[] = L"KelvraDebugWindow";

// Layout at 96 DPI, in pixels.
constexpr int kWidth = 680;
constexpr int kHeight = 520;
constexpr int kMinWidth = 240;
constexpr int kMinHeight = 160;
constexpr int kMargin = 8;
constexpr int kFontPoints = 9;

int Scale(int pixels, UINT dpi) {
    return MulDiv(pixels, static_cast<int>(dpi), 96);
}

class FrmDebug {
  public:
    FrmDebug(std::wstring title, std::wstring text)
        : title_(std::move(title)), text_(std::move(text)) {}
    FrmDebug(const FrmDebug&) = delete;
    FrmDebug& operator=(const FrmDebug&) = delete;
    ~FrmDebug() {
        if (hwnd_) DestroyWindow(hwnd_);
    }

    void RunModal(HWND owner);

  private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCreate();
    void OnSize(int width, int height);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void ApplyDpi(UINT dpi);
    void PlaceOver(HWND owner);
    // Esc closes the window and Ctrl+A selects the whole text, also while
    // the text box has the focus. True when the key was taken.
    bool OnKey(const MSG& msg);

    std::wstring title_;
    std::wstring text_;
    HWND hwnd_ = nullptr;
    HWND text1_ = nullptr;
    win32::UniqueGdiObject font_;
    UINT dpi_ = 96;
    // Text1's distances to the window's inner edges; it keeps them on resizing.
    int left_ = kMargin;
    int top_ = kMargin;
    int rightGap_ = kMargin;
    int bottomGap_ = kMargin;
    bool closed_ = false;
};

LRESULT CALLBACK FrmDebug::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            auto* self = static_cast<FrmDebug*>(create->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<FrmDebug*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        // Out of memory: the window stays as it is, and creation fails.
        return message == WM_CREATE ? -1 : DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT FrmDebug::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate() ? 0 : -1;
        case WM_SIZE:
            OnSize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_SETFOCUS:
            if (text1_) SetFocus(text1_);
            return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = Scale(kMinWidth, dpi_);
            info->ptMinTrackSize.y = Scale(kMinHeight, dpi_);
            return 0;
        }
        case WM_CTLCOLORSTATIC:
            // Read-only boxes are grey by default; the dump reads better on
            // the normal window colour.
            if (reinterpret_cast<HWND>(lParam) == text1_) {
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
                SetBkColor(dc, GetSysColor(COLOR_WINDOW));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            }
            break;
        case 0x02E0:  // WM_DPICHANGED, Windows 8.1 and later
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_CLOSE:
            // Destroyed by RunModal once the owner is enabled again, so the
            // activation goes back to the owner.
            closed_ = true;
            return 0;
        case WM_NCDESTROY:
            // Also when the owner goes first and takes this window with it.
            closed_ = true;
            hwnd_ = nullptr;
            text1_ = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool FrmDebug::OnCreate() {
    text1_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP |
                                 ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                                 ES_NOHIDESEL,
                             0, 0, 0, 0, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!text1_) return false;
    ApplyDpi(static_cast<UINT>(win32::WindowDpi(hwnd_)));
    // The dump outgrows the default limit of an edit box on older systems,
    // and WM_GETTEXT must give all of it back.
    SendMessageW(text1_, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    SetWindowTextW(text1_, text_.c_str());
    return true;
}

void FrmDebug::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    left_ = top_ = rightGap_ = bottomGap_ = Scale(kMargin, dpi);
    win32::UniqueGdiObject font(
        CreateFontW(-MulDiv(kFontPoints, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE,
                    FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New"));
    if (font) {
        SendMessageW(text1_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        font_ = std::move(font);  // the old font goes only once the box no longer uses it
    }
}

void FrmDebug::OnSize(int width, int height) {
    if (!text1_) return;
    MoveWindow(text1_, left_, top_, std::max(width - left_ - rightGap_, 0),
               std::max(height - top_ - bottomGap_, 0), TRUE);
}

void FrmDebug::OnDpiChanged(UINT dpi, const RECT& suggested) {
    ApplyDpi(dpi != 0 ? dpi : 96);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(hwnd_, &client);
    OnSize(client.right, client.bottom);
}

// Centred over the owner (or the screen), kept inside the work area of the
// owner's monitor.
void FrmDebug::PlaceOver(HWND owner) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (GetMonitorInfoW(MonitorFromWindow(owner ? owner : hwnd_, MONITOR_DEFAULTTONEAREST),
                        &monitor))
        work = monitor.rcWork;
    // At high DPI the scaled size may exceed a small screen.
    const int width = std::min<int>(Scale(kWidth, dpi_), work.right - work.left);
    const int height = std::min<int>(Scale(kHeight, dpi_), work.bottom - work.top);
    RECT around = work;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
    int x = around.left + ((around.right - around.left) - width) / 2;
    int y = around.top + ((around.bottom - around.top) - height) / 2;
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool FrmDebug::OnKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || !hwnd_) return false;
    if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
    if (msg.wParam == VK_ESCAPE) {
        SendMessageW(hwnd_, WM_CLOSE, 0, 0);
        return true;
    }
    if (msg.wParam == 'A' && (GetKeyState(VK_CONTROL) & 0x8000) && text1_) {
        SendMessageW(text1_, EM_SETSEL, 0, -1);
        return true;
    }
    return false;
}

void FrmDebug::RunModal(HWND owner) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!GetClassInfoExW(instance, kClassName, &wc)) {
        wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &FrmDebug::WndProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        if (!RegisterClassExW(&wc)) return;
    }
    if (!CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, title_.c_str(),
                         WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX |
                             WS_CLIPCHILDREN,
                         CW_USEDEFAULT, CW_USEDEFAULT, Scale(kWidth, 96), Scale(kHeight, 96), owner,
                         nullptr, instance, this))
        return;
    PlaceOver(owner);

    win32::OwnerDisabled disabled(owner);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    if (text1_) SetFocus(text1_);

    MSG msg;
    while (!closed_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: close and leave the quit for the main loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        if (OnKey(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    disabled.Restore();
    if (owner && IsWindow(owner)) SetActiveWindow(owner);
    if (hwnd_) DestroyWindow(hwnd_);
}

}  // namespace

void ShowDebugWindow(HWND owner, Program& program, const TimerStates& timers) {
    try {
        Os& os = program.os;
        std::wstring title = L"Kelvra V" + os.AnsiToWide(program.startup.ApplicationVersion) +
                             L" - " + Text(program.language, TextKey::debug_title);
        FrmDebug window(std::move(title), os.AnsiToWide(DebugDump(program, timers)));
        window.RunModal(owner);
    } catch (...) {
        // Out of memory while building the dump: there is nothing to show.
    }
}

}  // namespace kelvra
