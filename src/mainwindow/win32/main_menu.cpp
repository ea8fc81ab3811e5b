#include "mainwindow/win32/main_menu.h"

#include <string>

#include "language/language.h"
#include "mainwindow/win32/main_ids.h"
#include "platform/win32/handles.h"

namespace kelvra {
namespace {

// The items of the bar's two popups, in order; id 0 is a separator.
struct MenuItem {
    int popup;  // 0 file, 1 help
    int id;
    TextKey text;
    KeyAction action;
};
constexpr MenuItem kItems[] = {
    {0, kIdMnuConfig, TextKey::main_mnufile_config, KeyAction::Config},
    {0, 0, {}, KeyAction::None},
    {0, kIdMnuExit, TextKey::main_mnufile_exit, KeyAction::Exit},
    {1, kIdMnuHelp, TextKey::main_mnuhelp_index, KeyAction::Help},
    {1, kIdMnuKeyboard, TextKey::main_mnuhelp_keyboard, KeyAction::KeyboardHelp},
    {1, kIdMnuHistory, TextKey::main_mnuhelp_history, KeyAction::History},
    {1, 0, {}, KeyAction::None},
    {1, kIdMnuInfo, TextKey::main_mnuhelp_about, KeyAction::Info},
};
constexpr TextKey kPopupTexts[] = {TextKey::main_mnufile, TextKey::main_mnuhelp};

// A key's name as the keyboard's language writes it ("Strg" on a German
// layout); names the system gives in capitals are written as words.
std::wstring SystemKeyName(UINT virtualKey, const wchar_t* fallback) {
    const UINT scan = MapVirtualKeyW(virtualKey, 0 /* MAPVK_VK_TO_VSC */);
    wchar_t name[64] = {};
    if (scan == 0 || GetKeyNameTextW(static_cast<LONG>(scan << 16), name, 64) <= 0) return fallback;
    std::wstring text = name;
    bool allCapitals = text.size() > 1;
    for (wchar_t c : text)
        if (IsCharLowerW(c)) allCapitals = false;
    if (allCapitals) CharLowerBuffW(&text[1], static_cast<DWORD>(text.size() - 1));
    return text;
}

// "Ctrl+Shift+F5" with the modifier and key names of the keyboard.
std::wstring LocalKeyText(const std::string& keys) {
    static const struct {
        const char* token;
        UINT virtualKey;
        const wchar_t* fallback;
    } kNamed[] = {{"Ctrl", VK_CONTROL, L"Ctrl"},
                  {"Shift", VK_SHIFT, L"Shift"},
                  {"Alt", VK_MENU, L"Alt"},
                  {"Enter", VK_RETURN, L"Enter"},
                  {"Esc", VK_ESCAPE, L"Esc"}};
    std::wstring text;
    size_t start = 0;
    while (start < keys.size()) {
        size_t end = keys.find('+', start);
        if (end == std::string::npos) end = keys.size();
        const std::string token = keys.substr(start, end - start);
        if (!text.empty()) text += L'+';
        std::wstring name(token.begin(), token.end());
        for (const auto& n : kNamed)
            if (token == n.token) name = SystemKeyName(n.virtualKey, n.fallback);
        text += name;
        start = end + 1;
    }
    return text;
}

// A menu caption with the key that does the same, right-aligned by the menu.
std::wstring WithKey(std::wstring caption, KeyAction key) {
    const std::string keys = KeyText(key);
    if (!keys.empty()) caption += L'\t' + LocalKeyText(keys);
    return caption;
}

}  // namespace

void MainMenu::Create(HWND window) {
    window_ = window;
    bar_ = CreateMenu();
    HMENU popups[2] = {CreatePopupMenu(), CreatePopupMenu()};
    for (const MenuItem& item : kItems)
        AppendMenuW(popups[item.popup], item.id ? MF_STRING : MF_SEPARATOR,
                    static_cast<UINT_PTR>(item.id), item.id ? L"" : nullptr);
    for (HMENU popup : popups) AppendMenuW(bar_, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"");
    SetMenu(window, bar_);
}

// The texts of the bar and its items from the text table.
void MainMenu::ApplyLanguage(const LanguageState& language) {
    auto setItem = [&](UINT item, bool byPosition, TextKey key, KeyAction shortcut) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        std::wstring caption = WithKey(Text(language, key), shortcut);
        info.dwTypeData = caption.data();
        SetMenuItemInfoW(bar_, item, byPosition, &info);
    };
    for (UINT i = 0; i < 2; ++i) setItem(i, true, kPopupTexts[i], KeyAction::None);
    for (const MenuItem& item : kItems)
        if (item.id) setItem(static_cast<UINT>(item.id), false, item.text, item.action);
    DrawMenuBar(window_);
}

void MainMenu::Enable(bool enabled) {
    for (UINT i = 0; i < 2; ++i)
        EnableMenuItem(bar_, i, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(window_);
}

KeyAction MainMenu::ActionOf(int id) {
    for (const MenuItem& item : kItems)
        if (item.id && item.id == id) return item.action;
    return KeyAction::None;
}

bool MainMenu::TrackListPopup(const std::array<MenuEntry, 10>& entries, POINT at, Command& chosen) {
    win32::UniqueMenu popup(CreatePopupMenu());
    for (const MenuEntry& e : entries) {
        if (e.separator) {
            AppendMenuW(popup.get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuW(popup.get(), MF_STRING | (e.enabled ? MF_ENABLED : MF_GRAYED),
                    kIdButtonFirst + static_cast<int>(e.command),
                    WithKey(e.caption, e.key).c_str());
    }
    const int id = TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0,
                                  window_, nullptr);
    if (id < kIdButtonFirst || id >= kIdButtonFirst + kCommandCount) return false;
    chosen = static_cast<Command>(id - kIdButtonFirst);
    return true;
}

}  // namespace kelvra
