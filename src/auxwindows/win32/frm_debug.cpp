#include "auxwindows/win32/frm_debug.h"

#include <algorithm>
#include <string>
#include <utility>

#include "language/language.h"
#include "platform/dpi.h"
#include "platform/win32/handles.h"
#include "platform/win32/window.h"
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

class FrmDebug : public win32::Window<FrmDebug> {
  public:
    FrmDebug(std::wstring title, std::wstring text)
        : title_(std::move(title)), text_(std::move(text)) {}
    ~FrmDebug() { Destroy(); }  // before the font it uses goes

    void RunModal(HWND owner);

  private:
    friend class win32::Window<FrmDebug>;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCreate();
    void OnSize(int width, int height);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void ApplyDpi(int dpi);
    // Esc closes the window and Ctrl+A selects the whole text, also while
    // the text box has the focus. True when the key was taken.
    bool OnKey(const MSG& msg);

    std::wstring title_;
    std::wstring text_;
    HWND text1_ = nullptr;
    win32::UniqueFont font_;
    int dpi_ = 96;
    // Text1's distance to every inner edge of the window, kept on resizing.
    int margin_ = kMargin;
    bool closed_ = false;
};

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
            info->ptMinTrackSize.x = Scale96(kMinWidth, dpi_);
            info->ptMinTrackSize.y = Scale96(kMinHeight, dpi_);
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
        case WM_DPICHANGED:
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
            text1_ = nullptr;
            break;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

bool FrmDebug::OnCreate() {
    text1_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP |
                                 ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                                 ES_NOHIDESEL,
                             0, 0, 0, 0, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!text1_) return false;
    ApplyDpi(Dpi());
    // The dump outgrows the default limit of an edit box on older systems,
    // and WM_GETTEXT must give all of it back.
    SendMessageW(text1_, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    SetWindowTextW(text1_, text_.c_str());
    return true;
}

void FrmDebug::ApplyDpi(int dpi) {
    dpi_ = dpi;
    margin_ = Scale96(kMargin, dpi);
    win32::UniqueFont font(CreateFontW(-MulDiv(kFontPoints, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE,
                                       FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                       FIXED_PITCH | FF_MODERN, L"Courier New"));
    if (font) {
        SendMessageW(text1_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        font_ = std::move(font);  // the old font goes only once the box no longer uses it
    }
}

void FrmDebug::OnSize(int width, int height) {
    if (!text1_) return;
    MoveWindow(text1_, margin_, margin_, std::max(width - 2 * margin_, 0),
               std::max(height - 2 * margin_, 0), TRUE);
}

void FrmDebug::OnDpiChanged(int dpi, const RECT& suggested) {
    ApplyDpi(dpi != 0 ? dpi : 96);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(hwnd_, &client);
    OnSize(client.right, client.bottom);
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
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!Register(kClassName, MAKEINTRESOURCEW(32512),  // IDC_ARROW
                  LoadIconW(instance, MAKEINTRESOURCEW(1))))
        return;
    if (!Create(WS_EX_DLGMODALFRAME, kClassName, title_.c_str(),
                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX |
                    WS_CLIPCHILDREN,
                CW_USEDEFAULT, CW_USEDEFAULT, Scale96(kWidth, 96), Scale96(kHeight, 96), owner))
        return;
    // Centred over the owner; at high DPI the scaled size may exceed a small
    // screen.
    const RECT work = win32::WorkArea(owner ? owner : hwnd_);
    win32::PlaceOver(hwnd_, owner, std::min<int>(Scale96(kWidth, dpi_), work.right - work.left),
                     std::min<int>(Scale96(kHeight, dpi_), work.bottom - work.top));
    {
        const win32::ModalScope modal(hwnd_, owner);
        if (text1_) SetFocus(text1_);
        win32::RunModalLoop(closed_, [this](MSG& msg) { return OnKey(msg); });
    }
    Destroy();
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
