// The busy splash: a small window with one line of text that stands on the
// screen during the first scan after the main window loads.
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
    // Paints it now, before a long piece of work starts.
    void Paint();

  private:
    friend class win32::Window<FrmSplash>;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND label_ = nullptr;  // labSplash
    win32::UniqueFont font_;
};

}  // namespace kelvra
