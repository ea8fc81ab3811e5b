// The notification-area icon of a window minimized to the tray, its menu,
// and the window's taskbar button, which the icon replaces.
#pragma once

#include "platform/win32/windows_api.h"

namespace kelvra {

struct LanguageState;

class TrayIcon {
  public:
    // Sent by the icon to the window for mouse events over it.
    static constexpr UINT kMessage = WM_APP + 1;

    void Attach(HWND window);
    // A restarted shell has lost every icon and says so with this message.
    bool IsTaskbarCreated(UINT message) const {
        return taskbarCreated_ != 0 && message == taskbarCreated_;
    }
    bool Set(bool add);
    // True while the shell still shows the icon; else it is added again,
    // unless noReadd.
    bool Check(bool noReadd);
    void SetTaskbarButton(bool on);
    // The icon's menu at the pointer; the chosen item's id, 0 for none.
    int TrackMenu(const LanguageState& language);

  private:
    HWND window_ = nullptr;
    UINT taskbarCreated_ = 0;
};

}  // namespace kelvra
