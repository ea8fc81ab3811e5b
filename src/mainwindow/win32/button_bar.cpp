#include "mainwindow/win32/button_bar.h"

#include <algorithm>
#include <string>

#include "language/language.h"
#include "mainwindow/win32/drive_list.h"
#include "mainwindow/win32/main_ids.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_support.h"

namespace kelvra {
namespace {

// Button captions that depend on the selected row come from the logic; the
// others are set with the language.
constexpr TextKey kButtonKeys[kCommandCount] = {
    TextKey::main_cmdnew,    TextKey::main_cmdmove,       TextKey::main_cmdkill,
    TextKey::main_cmdfix,    TextKey::main_cmddeactivate, TextKey::main_cmddeactivateperm,
    TextKey::main_cmdrename, TextKey::main_cmdlink};
// Every caption a button can show, for the width of the bar.
constexpr TextKey kAllButtonCaptions[] = {
    TextKey::main_cmdnew,        TextKey::main_cmdchange,         TextKey::main_cmdmove,
    TextKey::main_cmdmoveinsert, TextKey::main_cmdmovecancel,     TextKey::main_cmdkill,
    TextKey::main_cmdfix,        TextKey::main_cmdtemp,           TextKey::main_cmddeactivate,
    TextKey::main_cmdactivate,   TextKey::main_cmddeactivateperm, TextKey::main_cmdrename,
    TextKey::main_cmdlink};

}  // namespace

void ButtonBar::Create(HWND parent, HGDIOBJ font) {
    for (int i = 0; i < kCommandCount; ++i) {
        buttons_[i] = CreateWindowExW(
            0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 100, 24,
            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdButtonFirst + i)),
            GetModuleHandleW(nullptr), nullptr);
        EnableWindow(buttons_[i], FALSE);
    }
    font_ = font;
    for (HWND b : buttons_) SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void ButtonBar::SetFont(HGDIOBJ font) {
    font_ = font;
    for (HWND b : buttons_) SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

bool ButtonBar::Owns(HWND control) const {
    return std::find(buttons_.begin(), buttons_.end(), control) != buttons_.end();
}

void ButtonBar::ApplyLanguage(const LanguageState& language) {
    for (int i = 0; i < kCommandCount; ++i) {
        commands_.captions[i] = Text(language, kButtonKeys[i]);
        SetWindowTextW(buttons_[i], commands_.captions[i].c_str());
    }
}

int ButtonBar::LongestCaption(HDC dc, const LanguageState& language) {
    int longest = 0;
    for (TextKey key : kAllButtonCaptions)
        longest = std::max(longest, TextWidth(dc, Text(language, key)));
    return longest;
}

void ButtonBar::Show(const CommandView& commands) {
    for (int i = 0; i < kCommandCount; ++i) {
        if (commands.captions[i] != win32::WindowText(buttons_[i]))
            SetWindowTextW(buttons_[i], commands.captions[i].c_str());
        EnableWindow(buttons_[i], enabled_ && commands.enabled[i]);
        if (commands.faces[i] != commands_.faces[i]) InvalidateRect(buttons_[i], nullptr, TRUE);
    }
    commands_ = commands;
}

void ButtonBar::Enable(bool enabled) {
    enabled_ = enabled;
    for (int i = 0; i < kCommandCount; ++i)
        EnableWindow(buttons_[i], enabled && commands_.enabled[i]);
}

void ButtonBar::SetVisible(bool visible) {
    for (HWND b : buttons_) ShowWindow(b, visible ? SW_SHOWNA : SW_HIDE);
}

void ButtonBar::LayoutVertical(int top, int height, int gap, int step) {
    int y = top;
    for (int i = 0; i < kCommandCount; ++i) {
        // Gaps between the groups of the context menu: new/move/kill,
        // the state commands, rename/link.
        if (i == 3 || i == 6) y += gap;
        RECT r;
        GetWindowRect(buttons_[i], &r);
        MapWindowPoints(nullptr, GetParent(buttons_[i]), reinterpret_cast<POINT*>(&r), 2);
        win32::PlaceChild(buttons_[i], r.left, y, r.right - r.left, height);
        y += height + step;
    }
}

void ButtonBar::LayoutHorizontal(HWND parent, int left, int width, int height) {
    for (HWND b : buttons_) {
        RECT r;
        GetWindowRect(b, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        win32::PlaceChild(b, left, r.top, width, height);
    }
}

// A red face for the commands that would cut a live drive without asking.
// Other buttons draw as the system draws them.
LRESULT ButtonBar::OnCustomDraw(NMCUSTOMDRAW* draw) const {
    const int index = static_cast<int>(GetDlgCtrlID(draw->hdr.hwndFrom)) - kIdButtonFirst;
    if (index < 0 || index >= kCommandCount || commands_.faces[index] == kButtonFace)
        return CDRF_DODEFAULT;
    if (draw->dwDrawStage != CDDS_PREPAINT) return CDRF_DODEFAULT;
    HDC dc = draw->hdc;
    RECT r = draw->rc;
    const bool pressed = (draw->uItemState & CDIS_SELECTED) != 0;
    const bool disabled = (draw->uItemState & CDIS_DISABLED) != 0;
    const bool focused = (draw->uItemState & CDIS_FOCUS) != 0;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    RECT face = r;
    InflateRect(&face, -2, -2);
    {
        win32::UniqueBrush brush(CreateSolidBrush(ToColorRef(commands_.faces[index])));
        FillRect(dc, &face, brush.get());
    }
    if (pressed) OffsetRect(&face, 1, 1);
    SetBkMode(dc, TRANSPARENT);
    const UINT_PTR uiState = SendMessageW(draw->hdr.hwndFrom, WM_QUERYUISTATE, 0, 0);
    {
        win32::Selected font(dc, font_);
        const std::wstring caption = win32::WindowText(draw->hdr.hwndFrom);
        UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (uiState & UISF_HIDEACCEL) format |= DT_HIDEPREFIX;
        SetTextColor(dc, disabled ? RGB(128, 128, 128) : RGB(255, 255, 255));
        DrawTextW(dc, caption.c_str(), -1, &face, format);
    }
    if (focused && !(uiState & UISF_HIDEFOCUS)) {
        RECT focus = r;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
    return CDRF_SKIPDEFAULT;
}

}  // namespace kelvra
