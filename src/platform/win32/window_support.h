// Small pieces every window of the program needs alike.
#pragma once

#include <functional>
#include <string>

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

// The whole text of a window or control; empty when it has none.
std::wstring WindowText(HWND window);

// Registers a window class of this program with the button-face background,
// once: later calls find it registered. False when it is neither.
bool RegisterWindowClass(const wchar_t* name, WNDPROC procedure, const wchar_t* cursor,
                         HICON icon = nullptr, HICON smallIcon = nullptr);

// Gives a child window this place in its parent's client area, unless it
// has it already: a move to where it is still costs a round of messages
// (and under Wine calls to the server), and layouts repeat most moves.
void PlaceChild(HWND child, int x, int y, int width, int height);

// The work area of the monitor a window is on (the nearest one).
RECT WorkArea(HWND window);
// Gives `window` this size, centred over `owner` (over the work area when
// the owner is null, hidden or minimised) and kept inside the work area of
// the owner's monitor.
void PlaceOver(HWND window, HWND owner, int width, int height);

// A modal window of our own (not one of the dialog manager): for its scope
// the owner is disabled and the window shown in front; at its end the owner
// is enabled again, unless it was disabled before (under a modal window of
// its own), and activated.
class ModalScope {
  public:
    ModalScope(HWND window, HWND owner);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

  private:
    HWND owner_;
    bool wasEnabled_;
};

// The message loop of a modal window of our own: runs until `closed` turns
// true. `filter` sees each message first and returns true for one it took.
// A WM_QUIT ends the loop and is posted again for the main loop.
void RunModalLoop(const bool& closed, const std::function<bool(MSG&)>& filter);

}  // namespace kelvra::win32
