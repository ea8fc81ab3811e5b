// The configuration window: three tab pages of check boxes and the language
// box, shown modally over the main window.
#pragma once

#include "platform/win32/windows_api.h"

namespace kelvra {

struct Program;

// Control ids, also for tests that drive the window from outside: check box
// n (in CheckBox order) has kConfigCheckBoxId + n.
constexpr int kConfigCheckBoxId = 1000;
constexpr int kConfigFrameId = 1100;  // + Frame
constexpr int kConfigLanguageBoxId = 1200;
constexpr int kConfigTabsId = 1300;

// Shows the window owned by `owner` (the main window; may be null) and
// returns when the user closed it (Esc or the close box), after the settings
// were saved. The owner is disabled meanwhile; message boxes shown while it
// is open are owned by it. A WM_QUIT that arrives while it is open closes it
// and is posted again.
void ShowConfigWindow(HWND owner, Program& program);

}  // namespace kelvra
