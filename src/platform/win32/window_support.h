// Small pieces every window of the program needs alike.
#pragma once

#include "platform/win32/windows_api.h"

namespace kelvra::win32 {

// The DPI of the screen as the system reports it to a DPI-aware program.
int SystemDpi();
// The DPI of the monitor a window is on; the system DPI where the system has
// no per-monitor DPI (before Windows 10 1607).
int WindowDpi(HWND window);
// The outer rectangle of a window with this client size, with the frame of
// the given DPI (the system's frame before Windows 10 1607).
RECT FrameForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool menu,
                    int dpi);
// From Windows 10 1703 on, the system rescales a dialog on a DPI change
// itself, but only the controls of its template: this leaves the whole of
// it to the dialog's own WM_DPICHANGED handling.
void OwnDialogDpiScaling(HWND dialog);

// Disables a modal window's owner for the owned window's lifetime and
// re-enables it whichever way the window goes, unless the owner was disabled
// before (under a modal window of its own).
class OwnerDisabled {
  public:
    explicit OwnerDisabled(HWND owner);
    ~OwnerDisabled() { Restore(); }
    OwnerDisabled(const OwnerDisabled&) = delete;
    OwnerDisabled& operator=(const OwnerDisabled&) = delete;
    void Restore();

  private:
    HWND owner_;
    bool wasEnabled_;
};

}  // namespace kelvra::win32
