// The LED strip beside the drive list: one LED per row, centred on the row as
// the list shows it, in pictures drawn at the window's size so they stay
// sharp at every DPI.
#pragma once

#include <array>

#include "mainwindow/main_view.h"
#include "platform/win32/handles.h"
#include "platform/win32/window.h"

namespace kelvra {

class DriveList;

// A round lit LED of the colour of `led`, size x size pixels with an alpha
// channel; the caller owns the icon. Null when the system has no memory.
HICON CreateLedIcon(Led led, int size);

class LedStrip : public win32::Window<LedStrip> {
  public:
    static void Register();
    void Create(HWND parent, const DriveList& list);
    // The LED pictures at the window's DPI.
    void CreateIcons(int dpi);
    HICON Icon(Led led) const { return ledIcons_[static_cast<int>(led)].get(); }
    void Invalidate() const { InvalidateRect(hwnd_, nullptr, TRUE); }
    // A scroll by keys or wheel sends no end-of-scroll notice on every
    // system: the list reports its first visible row on each paint.
    void FollowTop(int top);

  private:
    friend class win32::Window<LedStrip>;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc);

    const DriveList* list_ = nullptr;
    int dpi_ = 96;
    std::array<win32::UniqueIcon, 6> ledIcons_;  // picLEDbase
    int ledTopIndex_ = 0;  // the list's first visible row when the LEDs were last drawn
};

}  // namespace kelvra
