// The debug window: the debug information in one read-only text box, shown
// modally over the main window so the user can copy it.
#pragma once

#include "auxwindows/debug_info.h"
#include "platform/win32/windows_api.h"

namespace kelvra {

struct Program;

// Shows the window owned by `owner` (may be null) and returns when the user
// closed it (Esc or the close box). The owner is disabled meanwhile. A
// WM_QUIT that arrives while it is open closes it and is posted again.
void ShowDebugWindow(HWND owner, Program& program, const TimerStates& timers);

}  // namespace kelvra
