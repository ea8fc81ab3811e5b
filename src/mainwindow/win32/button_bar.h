// The command buttons (cmdNew .. cmdLink) beside the list: captions and
// availability as the logic computes them, a red face on the commands that
// would cut a live drive without asking.
#pragma once

#include <array>

#include "mainwindow/main_view.h"
#include "platform/win32/windows_api.h"

namespace kelvra {

struct LanguageState;

class ButtonBar {
  public:
    void Create(HWND parent, HGDIOBJ font);
    void SetFont(HGDIOBJ font);
    const std::array<HWND, kCommandCount>& Buttons() const { return buttons_; }
    bool Owns(HWND control) const;
    // The captions that do not depend on the selected row.
    void ApplyLanguage(const LanguageState& language);
    // The widest caption any button can show, in the window's font.
    static int LongestCaption(HDC dc, const LanguageState& language);
    void Show(const CommandView& commands);
    // The bar as a whole; a button also needs its command to be available.
    void Enable(bool enabled);
    void SetVisible(bool visible);
    // The buttons in their three groups from `top` down.
    void LayoutVertical(int top, int height, int gap, int step);
    void LayoutHorizontal(HWND parent, int left, int width, int height);
    LRESULT OnCustomDraw(NMCUSTOMDRAW* draw) const;

  private:
    std::array<HWND, kCommandCount> buttons_{};
    HGDIOBJ font_ = nullptr;
    CommandView commands_;
    bool enabled_ = true;
};

}  // namespace kelvra
