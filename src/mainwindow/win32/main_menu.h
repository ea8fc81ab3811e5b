// The main window's menu bar (file, help) with the keys beside its items,
// and the list's popup of the drive commands.
#pragma once

#include <array>

#include "mainwindow/layout.h"
#include "mainwindow/menus.h"
#include "platform/win32/windows_api.h"

namespace kelvra {

struct LanguageState;

class MainMenu {
  public:
    void Create(HWND window);
    void ApplyLanguage(const LanguageState& language);
    // The menu bar's popups; off while a command runs.
    void Enable(bool enabled);
    // What a menu item of the bar does; KeyAction::None for other ids.
    static KeyAction ActionOf(int id);
    // The list's popup at a screen point; the command chosen, false for none.
    bool TrackListPopup(const std::array<MenuEntry, 10>& entries, POINT at, Command& chosen);

  private:
    HWND window_ = nullptr;
    HMENU bar_ = nullptr;  // owned by the window once set
};

}  // namespace kelvra
