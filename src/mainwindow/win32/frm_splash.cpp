#include "mainwindow/win32/frm_splash.h"

#include <algorithm>
#include <utility>

#include "platform/dpi.h"

namespace kelvra {
namespace {

const wchar_t kSplashClass[] = L"KelvraSplash";

}  // namespace

LRESULT FrmSplash::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The splash is information only: it takes no clicks and no close.
    if (message == WM_CLOSE) return 0;
    return Default(message, wParam, lParam);
}

void FrmSplash::Show(const std::wstring& text, int dpi) {
    Register(kSplashClass, MAKEINTRESOURCEW(32514));  // IDC_WAIT

    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font_.Reset(CreateFontIndirectW(&metrics.lfMessageFont));

    RECT textRect = {0, 0, Scale96(360, dpi), 0};
    {
        const win32::WindowDc screen(nullptr);
        const win32::Selected font(screen.get(), font_ ? static_cast<HGDIOBJ>(font_.get())
                                                       : GetStockObject(DEFAULT_GUI_FONT));
        DrawTextW(screen.get(), text.c_str(), -1, &textRect,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    }

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
    if (!Create(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kSplashClass, L"Kelvra", style,
                work.left + (work.right - work.left - w) / 2,
                work.top + (work.bottom - work.top - h) / 2, w, h, nullptr))
        return;
    RECT client;
    GetClientRect(hwnd_, &client);
    label_ = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER, pad,
                             (client.bottom - textRect.bottom) / 2, client.right - 2 * pad,
                             textRect.bottom, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (font_) SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    Paint();
}

void FrmSplash::Paint() {
    if (!hwnd_) return;
    RedrawWindow(hwnd_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME | RDW_ERASE);
}

DelayedSplash::DelayedSplash(std::wstring text, int dpi, DWORD delayMs)
    : text_(std::move(text)),
      dpi_(dpi),
      delayMs_(delayMs),
      ended_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (ended_) thread_.Reset(CreateThread(nullptr, 0, &DelayedSplash::Run, this, 0, nullptr));
}

DelayedSplash::~DelayedSplash() {
    if (!thread_) return;
    SetEvent(ended_.get());
    // Messages the splash's thread sends to this one (activation, focus)
    // are answered while it ends; nothing else runs here meanwhile.
    HANDLE thread = thread_.get();
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) ==
           WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

DWORD WINAPI DelayedSplash::Run(void* self) {
    auto* splash = static_cast<DelayedSplash*>(self);
    HANDLE ended = splash->ended_.get();
    if (WaitForSingleObject(ended, splash->delayMs_) != WAIT_TIMEOUT) return 0;
    FrmSplash window;
    window.Show(splash->text_, splash->dpi_);
    while (MsgWaitForMultipleObjects(1, &ended, FALSE, INFINITE, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return 0;  // the window goes with `window`, on the thread that made it
}

}  // namespace kelvra
