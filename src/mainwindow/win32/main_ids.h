// The main window's class names and the ids of its controls and menu items,
// shared with the programs that drive the window from outside.
#pragma once

namespace kelvra {

inline constexpr wchar_t kMainClassName[] = L"KelvraMainWindow";
inline constexpr wchar_t kLedClassName[] = L"KelvraLedStrip";

inline constexpr int kIdList = 100;
inline constexpr int kIdStatus = 101;
inline constexpr int kIdButtonFirst = 110;  // + Command
inline constexpr int kIdMnuConfig = 200;
inline constexpr int kIdMnuExit = 201;
inline constexpr int kIdMnuHelp = 210;
inline constexpr int kIdMnuKeyboard = 211;
inline constexpr int kIdMnuHistory = 212;
inline constexpr int kIdMnuInfo = 213;
inline constexpr int kIdMnuTrayRestore = 220;
inline constexpr int kIdMnuTrayExit = 221;

}  // namespace kelvra
