// The info window: program, version, legal notice and the language pack in
// use, with a button that opens the maker's web site.
#pragma once

#include "platform/win32/windows_api.h"

namespace kelvra {

struct Program;

// Shows the window modally, owned by `owner` (may be null), and returns when
// the user closed it (Esc or the close box).
void ShowInfoWindow(HWND owner, Program& program);

}  // namespace kelvra
