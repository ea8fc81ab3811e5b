#include "platform/win32/window_support.h"

namespace kelvra::win32 {

namespace {

// Per-monitor DPI functions exist from Windows 10 on; they are looked up.
template <typename Fn>
Fn User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                  : nullptr;
}

}  // namespace

int SystemDpi() {
    HDC dc = GetDC(nullptr);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpi && window) {
        const UINT dpi = getDpi(window);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

RECT FrameForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool menu,
                    int dpi) {
    using AdjustFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = User32Function<AdjustFn>("AdjustWindowRectExForDpi");
    RECT r = {0, 0, clientWidth, clientHeight};
    if (adjust)
        adjust(&r, style, menu, exStyle, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&r, style, menu, exStyle);
    return r;
}

void OwnDialogDpiScaling(HWND dialog) {
    using SetBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
    static const auto set = User32Function<SetBehaviorFn>("SetDialogDpiChangeBehavior");
    constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL
    if (set) set(dialog, kDisableAll, kDisableAll);
}

OwnerDisabled::OwnerDisabled(HWND owner)
    : owner_(owner), wasEnabled_(owner && IsWindowEnabled(owner)) {
    if (wasEnabled_) EnableWindow(owner_, FALSE);
}

void OwnerDisabled::Restore() {
    if (wasEnabled_) EnableWindow(owner_, TRUE);
    wasEnabled_ = false;
}

}  // namespace kelvra::win32
