// The list command's output: the rows as the window's list shows them, as
// aligned text or as JSON.
#pragma once

#include <string>
#include <vector>

#include "mainwindow/main_view.h"

namespace kelvra {
struct Program;
}

namespace kelvra::cli {

// The lines of the list: used letters only, or every letter with `all`.
// `rows` are the rows the list was last shown with.
std::vector<std::wstring> ListText(Program& program, const RowViews& rows, bool all);
// One JSON array, one object per row in letter order.
std::wstring ListJson(Program& program, const RowViews& rows, bool all);
// A JSON string literal, quotes included.
std::wstring JsonString(const std::wstring& text);

}  // namespace kelvra::cli
