// The busy splash: a small window with one line of text that stands on the
// screen during the first scan after the main window loads.
#pragma once

#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/windows_api.h"

namespace kelvra {

class FrmSplash {
  public:
    FrmSplash() = default;
    ~FrmSplash();
    FrmSplash(const FrmSplash&) = delete;
    FrmSplash& operator=(const FrmSplash&) = delete;

    // Shows the window centred on the primary work area with the text.
    void Show(const std::wstring& text, int dpi);
    // Paints it now, before a long piece of work starts.
    void Paint();

  private:
    HWND hwnd_ = nullptr;
    HWND label_ = nullptr;  // labSplash
    win32::UniqueGdiObject font_;
};

}  // namespace kelvra
