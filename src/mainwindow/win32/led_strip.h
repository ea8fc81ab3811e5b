// The LED pictures of the list and the status bar, drawn at any size, so they
// stay sharp at every DPI.
#pragma once

#include "mainwindow/main_view.h"
#include "platform/win32/windows_api.h"

namespace kelvra {

// A round lit LED of the colour of `led`, size x size pixels with an alpha
// channel; the caller owns the icon. Null when the system has no memory.
HICON CreateLedIcon(Led led, int size);

}  // namespace kelvra
