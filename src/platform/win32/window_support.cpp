#include "platform/win32/window_support.h"

namespace kelvra::win32 {

int SystemDpi() {
    HDC dc = GetDC(nullptr);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = [] {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 ? reinterpret_cast<GetDpiForWindowFn>(
                            reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")))
                      : nullptr;
    }();
    if (getDpi && window) {
        const UINT dpi = getDpi(window);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return SystemDpi();
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
