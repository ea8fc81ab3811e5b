// The single-line input box: a prompt, an edit box holding a default answer,
// and OK and Cancel, as a modal dialog of our own with wide texts.
#pragma once

#include <string>

#include "platform/win32/windows_api.h"

namespace kelvra {

// Shows the box owned by `owner` (may be null). True when the user pressed
// OK: answer then holds the text typed, possibly empty. False on Cancel,
// Escape, closing the box, or when the box cannot be shown; answer is then
// left unchanged.
bool ShowInputBox(HWND owner, const std::wstring& prompt, const std::wstring& caption,
                  const std::wstring& def, std::wstring& answer);

}  // namespace kelvra
