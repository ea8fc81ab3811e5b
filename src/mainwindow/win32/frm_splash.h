// The busy splash: a small window with one line of text that stands on the
// screen during the first scan after the main window loads, when that scan
// lasts long enough for the user to wait for it.
#pragma once

#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/window.h"

namespace kelvra {

class FrmSplash : public win32::Window<FrmSplash> {
  public:
    FrmSplash() = default;
    ~FrmSplash() { Destroy(); }  // before the font it uses goes

    // Shows the window centred on the primary work area with the text.
    void Show(const std::wstring& text, int dpi);
    // Paints it now.
    void Paint();

  private:
    friend class win32::Window<FrmSplash>;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND label_ = nullptr;  // labSplash
    win32::UniqueFont font_;
};

// The splash on a thread of its own, with its own message loop: it paints
// while the window's thread is busy with the scan, and it appears only when
// the scan is still running after a delay. A scan that ends sooner is over
// before the user could read the text; showing and removing a window for it
// only costs the start its time.
class DelayedSplash {
  public:
    // From now on: the splash shows after delayMs unless this object has
    // gone by then.
    DelayedSplash(std::wstring text, int dpi, DWORD delayMs);
    // The splash is gone from the screen (or was never shown) on return.
    ~DelayedSplash();
    DelayedSplash(const DelayedSplash&) = delete;
    DelayedSplash& operator=(const DelayedSplash&) = delete;

  private:
    static DWORD WINAPI Run(void* self);

    const std::wstring text_;
    const int dpi_;
    const DWORD delayMs_;
    win32::UniqueHandle ended_;
    win32::UniqueHandle thread_;
};

}  // namespace kelvra
