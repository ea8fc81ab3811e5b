#include "mainwindow/win32/frm_splash.h"

#include <algorithm>

#include "mainwindow/layout.h"

namespace kelvra {
namespace {

const wchar_t kSplashClass[] = L"KelvraSplash";

LRESULT CALLBACK SplashProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // The splash is information only: it takes no clicks and no close.
    if (message == WM_CLOSE) return 0;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

FrmSplash::~FrmSplash() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void FrmSplash::Show(const std::wstring& text, int dpi) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &SplashProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32514));  // IDC_WAIT
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kSplashClass;
    RegisterClassExW(&wc);

    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font_.Reset(CreateFontIndirectW(&metrics.lfMessageFont));

    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font_ ? font_.get() : GetStockObject(DEFAULT_GUI_FONT));
    RECT textRect = {0, 0, Scale96(360, dpi), 0};
    DrawTextW(dc, text.c_str(), -1, &textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);

    const int pad = Scale96(20, dpi);
    // No title bar: without a window manager (a bare X server) Wine waits two
    // seconds for a captioned window's destruction to be confirmed. The
    // window keeps its title "Kelvra" for task lists and tests.
    const DWORD style = WS_POPUP | WS_DLGFRAME;
    RECT outer = {0, 0, std::max<int>(textRect.right, Scale96(240, dpi)) + 2 * pad,
                  textRect.bottom + 2 * pad};
    AdjustWindowRectEx(&outer, style, FALSE, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    const int w = outer.right - outer.left, h = outer.bottom - outer.top;
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kSplashClass, L"Kelvra", style,
                            work.left + (work.right - work.left - w) / 2,
                            work.top + (work.bottom - work.top - h) / 2, w, h, nullptr, nullptr,
                            instance, nullptr);
    if (!hwnd_) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    label_ = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER, pad,
                             (client.bottom - textRect.bottom) / 2, client.right - 2 * pad,
                             textRect.bottom, hwnd_, nullptr, instance, nullptr);
    if (font_) SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    Paint();
}

void FrmSplash::Paint() {
    if (!hwnd_) return;
    RedrawWindow(hwnd_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME | RDW_ERASE);
}

}  // namespace kelvra
