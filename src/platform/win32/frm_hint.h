// The hint window: a text, a "do not show again" check box and OK, modal.
#pragma once

#include <string>

#include "platform/win32/windows_api.h"

namespace kelvra {

// Returns whether the check box was ticked when the window closed.
bool ShowHintWindow(HWND owner, const std::wstring& caption, const std::wstring& text,
                    const std::wstring& checkCaption, const std::wstring& okCaption);

}  // namespace kelvra
