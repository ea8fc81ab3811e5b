#include "mainwindow/win32/frm_main.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

#include "auxwindows/win32/frm_debug.h"
#include "auxwindows/win32/frm_info.h"
#include "config/win32/frm_konfig.h"
#include "drives/scan.h"
#include "language/language.h"
#include "mainwindow/commands.h"
#include "mainwindow/main_window.h"
#include "mainwindow/menus.h"
#include "mainwindow/win32/frm_splash.h"
#include "mainwindow/win32/led_images.h"
#include "mainwindow/win32/main_ids.h"
#include "platform/win32/window_support.h"
#include "program.h"
#include "startup/settings.h"

namespace kelvra {
namespace {

constexpr UINT kTrayMessage = WM_APP + 1;
// Posted when the user changed a column's width: the list may now need (or
// no longer need) room for its horizontal scroll bar.
constexpr UINT kFitListMessage = WM_APP + 2;
constexpr UINT_PTR kListSubclassId = 1;
constexpr UINT kTrayId = 0;
constexpr UINT_PTR kTimer1 = 1, kTimer2 = 2, kTimer3 = 3;

// Button captions that depend on the selected row come from the logic; the
// others are set by initlang.
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
constexpr TextKey kColumnKeys[4] = {TextKey::main_columndrive, TextKey::main_columnperm,
                                    TextKey::main_columntype, TextKey::main_columnpath};

// The window with its menu bar.
RECT AdjustedRect(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi) {
    return win32::FrameForClient(clientWidth, clientHeight, style, exStyle, true, dpi);
}

COLORREF ToColorRef(uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

std::wstring WindowTextOf(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring s(static_cast<std::size_t>(std::max(n, 0)) + 1, L'\0');
    n = GetWindowTextW(hwnd, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(std::max(n, 0)));
    return s;
}

int TextWidth(HDC dc, const std::wstring& text) {
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;  // access-key marker
        shown += text[i];
    }
    SIZE size = {};
    GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    return size.cx;
}

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto* areas = reinterpret_cast<std::vector<Rect>*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        Rect r{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
        if (info.dwFlags & MONITORINFOF_PRIMARY)
            areas->insert(areas->begin(), r);
        else
            areas->push_back(r);
    }
    return TRUE;
}

std::vector<Rect> WorkAreas() {
    std::vector<Rect> areas;
    EnumDisplayMonitors(nullptr, nullptr, &CollectWorkArea, reinterpret_cast<LPARAM>(&areas));
    if (areas.empty()) {
        RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        areas.push_back(Rect{work.left, work.top, work.right, work.bottom});
    }
    return areas;
}

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

FrmMain::FrmMain(Program& program) : program_(program) {}

FrmMain::~FrmMain() {
    if (program_.view == this) program_.view = nullptr;
    delete splash_;
}

bool FrmMain::Load(HINSTANCE instance) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &FrmMain::WndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainClassName;
    RegisterClassExW(&wc);
    WNDCLASSEXW led = {};
    led.cbSize = sizeof led;
    led.lpfnWndProc = &FrmMain::LedWndProc;
    led.hInstance = instance;
    led.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    led.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    led.lpszClassName = kLedClassName;
    RegisterClassExW(&led);

    // 1. The caption is what the single-instance search looks for.
    const std::wstring title =
        L"Kelvra V" + program_.os.AnsiToWide(program_.startup.ApplicationVersion);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, kMainClassName, title.c_str(),
                            style, 0, 0, 600, 500, nullptr, nullptr, instance, this);
    if (!hwnd_) return false;
    program_.view = this;
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");

    // 2-10. Controls exist from WM_CREATE; sizes, texts, rows and policies.
    Settings& settings = program_.settings;
    ShowWindow(leds_, settings.ShowLEDs ? SW_SHOWNA : SW_HIDE);
    for (HWND b : buttons_) ShowWindow(b, settings.ShowButtons ? SW_SHOWNA : SW_HIDE);
    program_.main.MoveSource = -1;
    initlang();
    setresize(settings.AllowResize);
    ApplyListStyles();

    // The first row starts selected, so the keyboard has a row to work on.
    SelectRow(1);

    // 12-13. First scan, with the splash standing while it runs.
    ShowBusy(BusyMode::Init);
    DisplayRefresh(program_);

    // 15. A context command runs on the hidden window: no timers, no position.
    if (!program_.context.ContextPath.empty()) return true;

    // 16-19. Timers and position.
    SetTimer(hwnd_, kTimer1, 100, nullptr);
    timerIntervals_[0] = 100;
    timerEnabled_[0] = true;
    RECT r;
    GetWindowRect(hwnd_, &r);
    const Point p = WindowPosition(settings.LastPos, r.right - r.left, r.bottom - r.top,
                                   WorkAreas(), win32::SystemDpi());
    SetWindowPos(hwnd_, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Onto a monitor of another DPI the window took the place the system
    // suggested with its new size: back to the stored one.
    GetWindowRect(hwnd_, &r);
    if (r.left != p.x || r.top != p.y)
        SetWindowPos(hwnd_, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    positioned_ = true;
    SetTimer(hwnd_, kTimer2, 1000, nullptr);
    timerIntervals_[1] = 1000;
    timerEnabled_[1] = true;
    if (settings.MinimizeToSystray) {
        SetTimer(hwnd_, kTimer3, 5000, nullptr);
        timerIntervals_[2] = 5000;
        timerEnabled_[2] = true;
    }
    return true;
}

void FrmMain::Show() {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    SetForegroundWindow(hwnd_);
    FocusList();
}

void FrmMain::StartInTray() {
    program_.main.TrayIconShown = TrayIconSet(true);
    program_.main.MinimizedToTray = true;
}

// ---------------------------------------------------------------------------
// Window procedure

LRESULT CALLBACK FrmMain::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<FrmMain*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FrmMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    // Nothing may unwind through the system's code that called us.
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT FrmMain::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        // A restarted shell has lost the icon.
        if (program_.main.TrayIconShown) TrayIconSet(true);
        return 0;
    }
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_SIZE:
            if (status_) SendMessageW(status_, WM_SIZE, 0, 0);
            OnResize(wParam);
            return 0;
        case WM_MOVE:
            FrmOnMsg_Move();
            return 0;
        case WM_GETMINMAXINFO:
            if (limitsOn_) {
                auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
                info->ptMinTrackSize = {limits_.minWidth, limits_.minHeight};
                info->ptMaxTrackSize = {limits_.maxWidth, limits_.maxHeight};
            }
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_MOUSEMOVE:
            if (dragging_) OnDragMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONUP:
            if (dragging_) EndDrag(true);
            return 0;
        case WM_CAPTURECHANGED:
            // Alt+Tab, another program's popup, a box of our own: the user
            // did not drop, so nothing may move.
            if (dragging_) EndDrag(false);
            return 0;
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == list_)
                ShowContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_SETCURSOR:
            if (busyCursor_) {
                SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            // Keep the focused child across dialogs and the tray, so the
            // keys move the selection again when the window comes back.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
                // Another window in front ends a drag as a lost capture does,
                // also where the system leaves the capture with us.
                if (dragging_) EndDrag(false);
            }
            break;
        case WM_SETFOCUS: {
            HWND target = lastFocus_;
            if (!target || !IsWindow(target) || !IsWindowVisible(target) ||
                !IsWindowEnabled(target))
                target = list_;
            if (target) SetFocus(target);
            return 0;
        }
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), reinterpret_cast<RECT*>(lParam));
            return 0;
        case kTrayMessage:
            OnTrayMessage(lParam);
            return 0;
        case kFitListMessage:
            FitListHeight();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The process ends right after this message: save now.
            if (wParam) Unload();
            return 0;
        case WM_CLOSE:
            Unload();
            return 0;
        case WM_DESTROY:
            if (program_.view == this) program_.view = nullptr;
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void FrmMain::OnCreate() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    dpi_ = win32::WindowDpi(hwnd_);
    CreateFonts();
    CreateLedIcons();
    BuildMenu();

    // 3. The list in report view with its four columns; 8. its 26 rows.
    list_ = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0,
        100, 100, hwnd_, reinterpret_cast<HMENU>(kIdList), instance, nullptr);
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    ApplyRowImages();
    for (int c = 0; c < 4; ++c) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.cx = Scale96(80, dpi_);
        column.pszText = const_cast<wchar_t*>(L"");
        column.iSubItem = c;
        SendMessageW(list_, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    for (int i = 0; i < kDriveCount; ++i) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<wchar_t*>(L"");
        SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }

    leds_ = CreateWindowExW(0, kLedClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 16, 100, hwnd_,
                            nullptr, instance, this);
    for (int i = 0; i < kCommandCount; ++i) {
        buttons_[i] = CreateWindowExW(
            0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 100, 24,
            hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdButtonFirst + i)), instance,
            nullptr);
        SendMessageW(buttons_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        EnableWindow(buttons_[i], FALSE);
    }
    status_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_,
                              reinterpret_cast<HMENU>(kIdStatus), instance, nullptr);
    SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

    // One tool over the list, moved to the cell under the pointer; it shows
    // the whole text of a cell its column cuts.
    tooltip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance, nullptr);
    if (tooltip_) {
        TTTOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = list_;
        tool.uId = 1;
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN));
        SetWindowSubclass(list_, &FrmMain::ListSubclassProc, kListSubclassId,
                          reinterpret_cast<DWORD_PTR>(this));
    }
}

LRESULT CALLBACK FrmMain::ListSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<FrmMain*>(data);
    try {
        if (message == WM_MOUSEMOVE) {
            self->TrackTipCell(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        } else if (message == WM_NOTIFY) {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->hwndFrom == self->tooltip_ && header->code == TTN_GETDISPINFOW) {
                auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                self->tipText_ = self->CutCellText();
                info->lpszText = self->tipText_.data();
                info->szText[0] = L'\0';
                info->hinst = nullptr;
                return 0;
            }
        } else if (message == WM_NCDESTROY) {
            RemoveWindowSubclass(hwnd, &FrmMain::ListSubclassProc, kListSubclassId);
        }
    } catch (...) {
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// A new cell under the pointer closes the tip of the last one; the tool
// moves onto the new cell, so the tip opens there after the usual pause.
void FrmMain::TrackTipCell(int x, int y) {
    LVHITTESTINFO hit = {};
    hit.pt = {x, y};
    SendMessageW(list_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    const bool onCell = hit.iItem >= 0 && hit.iItem < kDriveCount && hit.iSubItem >= 0 &&
                        hit.iSubItem < 4 && (hit.flags & LVHT_ONITEM);
    const int cell = onCell ? hit.iItem * 4 + hit.iSubItem : -1;
    if (cell == tipCell_) return;
    tipCell_ = cell;
    SendMessageW(tooltip_, TTM_POP, 0, 0);
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = list_;
    tool.uId = 1;
    if (onCell) {
        tool.rect.top = hit.iSubItem;
        tool.rect.left = LVIR_LABEL;
        SendMessageW(list_, LVM_GETSUBITEMRECT, hit.iItem, reinterpret_cast<LPARAM>(&tool.rect));
    }
    SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The text of the cell under the pointer when its column is too narrow for
// it, else nothing (no tip).
std::wstring FrmMain::CutCellText() {
    if (tipCell_ < 0) return L"";
    const int item = tipCell_ / 4, column = tipCell_ % 4;
    const std::wstring& text = rows_[item + 1].texts[column];
    if (text.empty()) return L"";
    RECT cell = {};
    cell.top = column;
    cell.left = LVIR_LABEL;
    if (!SendMessageW(list_, LVM_GETSUBITEMRECT, item, reinterpret_cast<LPARAM>(&cell))) return L"";
    const int width = static_cast<int>(
        SendMessageW(list_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
    // The list keeps a margin on both sides of a cell's text.
    return width + Scale96(12, dpi_) > cell.right - cell.left ? text : L"";
}

// A blank image list for the rows: the list makes its rows at least as tall
// as the images, and so as tall as the LEDs beside them.
void FrmMain::ApplyRowImages() {
    HIMAGELIST images = ImageList_Create(1, RowImageHeight(dpi_), ILC_COLOR32, 1, 0);
    if (!images) return;
    HIMAGELIST old = reinterpret_cast<HIMAGELIST>(
        SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images)));
    if (old) ImageList_Destroy(old);
}

LRESULT CALLBACK FrmMain::LedWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FrmMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        try {
            self->PaintLeds(dc);
        } catch (...) {
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// One LED beside each row, centred on the row as the list shows it now.
void FrmMain::PaintLeds(HDC dc) {
    RECT stripRect;
    GetWindowRect(leds_, &stripRect);
    // Rows scrolled off the top lie under the header: no LED beside it.
    const int top = static_cast<int>(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
    for (int i = std::max(0, top); i < kDriveCount; ++i) {
        RECT item = {};
        item.left = LVIR_BOUNDS;
        if (!SendMessageW(list_, LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item))) continue;
        const int size = LedSizeInRow(item.bottom - item.top, dpi_);
        POINT top = {0, (item.top + item.bottom - size) / 2};
        ClientToScreen(list_, &top);
        const int y = top.y - stripRect.top;
        if (y + size < 0 || y > stripRect.bottom - stripRect.top) continue;
        const int image = static_cast<int>(rows_[i + 1].led);
        if (image >= 0 && image < static_cast<int>(ledIcons_.size()))
            DrawIconEx(dc, 0, y, static_cast<HICON>(ledIcons_[image].get()), size, size, 0, nullptr,
                       DI_NORMAL);
    }
}

// ---------------------------------------------------------------------------
// Layout

void FrmMain::CreateFonts() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    LOGFONTW font = {};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        font = metrics.lfMessageFont;
        // The metrics are for the system DPI; this window may be on another.
        font.lfHeight = MulDiv(font.lfHeight, dpi_, win32::SystemDpi());
    } else {
        font.lfHeight = -MulDiv(8, dpi_, 72);
        lstrcpynW(font.lfFaceName, L"MS Shell Dlg", LF_FACESIZE);
    }
    font_.Reset(CreateFontIndirectW(&font));
}

void FrmMain::CreateLedIcons() {
    const int size = LedSize(dpi_);
    for (int i = 0; i < static_cast<int>(ledIcons_.size()); ++i)
        ledIcons_[i].Reset(CreateLedIcon(static_cast<Led>(i), size));
    if (list_) ApplyRowImages();
}

void FrmMain::BuildMenu() {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, kIdMnuConfig, L"");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, kIdMnuExit, L"");
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, kIdMnuHelp, L"");
    AppendMenuW(help, MF_STRING, kIdMnuKeyboard, L"");
    AppendMenuW(help, MF_STRING, kIdMnuHistory, L"");
    AppendMenuW(help, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(help, MF_STRING, kIdMnuInfo, L"");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"");
    SetMenu(hwnd_, bar);
    menu_ = bar;
}

// The texts of menus, columns and buttons from the text table.
void FrmMain::initlang() {
    const LanguageState& lang = program_.language;
    auto setItem = [&](HMENU menu, UINT item, bool byPosition, TextKey key,
                       KeyAction shortcut = KeyAction::None) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        std::wstring caption = WithKey(Text(lang, key), shortcut);
        info.dwTypeData = caption.data();
        SetMenuItemInfoW(menu, item, byPosition, &info);
    };
    setItem(menu_, 0, TRUE, TextKey::main_mnufile);
    setItem(menu_, 1, TRUE, TextKey::main_mnuhelp);
    setItem(menu_, kIdMnuConfig, FALSE, TextKey::main_mnufile_config, KeyAction::Config);
    setItem(menu_, kIdMnuExit, FALSE, TextKey::main_mnufile_exit);
    setItem(menu_, kIdMnuHelp, FALSE, TextKey::main_mnuhelp_index, KeyAction::Help);
    setItem(menu_, kIdMnuKeyboard, FALSE, TextKey::main_mnuhelp_keyboard, KeyAction::KeyboardHelp);
    setItem(menu_, kIdMnuHistory, FALSE, TextKey::main_mnuhelp_history, KeyAction::History);
    setItem(menu_, kIdMnuInfo, FALSE, TextKey::main_mnuhelp_about, KeyAction::Info);
    DrawMenuBar(hwnd_);

    for (int c = 0; c < 4; ++c) {
        std::wstring caption = Text(lang, kColumnKeys[c]);
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT;
        column.pszText = caption.data();
        SendMessageW(list_, LVM_SETCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    for (int i = 0; i < kCommandCount; ++i) {
        commands_.captions[i] = Text(lang, kButtonKeys[i]);
        SetWindowTextW(buttons_[i], commands_.captions[i].c_str());
    }
    ComputeDesignSize();
    SetWidthPos();
}

// Sizes that follow from the font and the DPI: the button bar fits its
// longest caption, the list its 26 rows, and the window both.
void FrmMain::ComputeDesignSize() {
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, font_.get());
    int longest = 0;
    for (TextKey key : kAllButtonCaptions)
        longest = std::max(longest, TextWidth(dc, Text(program_.language, key)));
    TEXTMETRICW tm = {};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);

    const int gap = Scale96(8, dpi_);
    const int buttonWidth = std::max(Scale96(104, dpi_), longest + Scale96(24, dpi_));
    barWidth_ = buttonWidth + gap;
    buttonHeight_ = std::max(Scale96(25, dpi_), static_cast<int>(tm.tmHeight) + Scale96(10, dpi_));
    frameRoom_ = TwipsToPixels(kDesignWidthTwips - kListDesignWidthTwips, dpi_);
    // A wider button bar (longer captions) widens the window, not the list.
    designWidth_ =
        TwipsToPixels(kDesignWidthTwips, dpi_) + std::max(0, barWidth_ - Scale96(112, dpi_));

    // The list shows all 26 rows without scrolling, the rows as measured
    // now (font, row images and grid lines are in place).
    RECT item = {};
    item.left = LVIR_BOUNDS;
    SendMessageW(list_, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    RECT header = {};
    GetWindowRect(reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0)), &header);
    listMetrics_.header = header.bottom - header.top;
    listMetrics_.row = std::max(1, static_cast<int>(item.bottom - item.top));
    listMetrics_.rows = kDriveCount;
    listMetrics_.borders = 2 * GetSystemMetrics(SM_CYEDGE) + Scale96(2, dpi_);
    listMetrics_.scrollBar = GetSystemMetrics(SM_CYHSCROLL);
    minListHeight_ = kCommandCount * (buttonHeight_ + Scale96(4, dpi_)) + 2 * gap;

    RECT statusRect = {};
    GetWindowRect(status_, &statusRect);
    const int statusHeight = std::max(static_cast<int>(statusRect.bottom - statusRect.top),
                                      static_cast<int>(tm.tmHeight) + Scale96(8, dpi_));
    const RECT outer = AdjustedRect(
        100, gap + gap + statusHeight, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)),
        static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)), dpi_);
    chromeHeight_ = outer.bottom - outer.top;
    ApplyListHeight();
}

// The list's and the window's designed heights for the columns as they are
// now: the list grows by the horizontal scroll bar when the columns overflow.
void FrmMain::ApplyListHeight() {
    std::array<int, 4> widths{};
    for (int c = 0; c < 4; ++c)
        widths[c] = static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, c, 0));
    listScrolls_ = false;
    listHeight_ =
        std::max(ListHeightForRows(listMetrics_, ColumnsOverflow(widths, ListInsideWidth())),
                 minListHeight_);
    designHeight_ = chromeHeight_ + listHeight_;
    // A 768-pixel screen at 150 % cannot show all 26 rows with the window
    // around them: the list scrolls instead of the status bar going off screen.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        const int fitted =
            ListHeightToFit(listHeight_, minListHeight_, designHeight_,
                            static_cast<int>(monitor.rcWork.bottom - monitor.rcWork.top));
        designHeight_ -= listHeight_ - fitted;
        listScrolls_ = fitted < listHeight_;
        listHeight_ = fitted;
    }
    LayoutVertical();
}

// The width the columns have inside the list's borders. A list that shows
// every row has no vertical scroll bar, whatever it shows for a moment while
// the columns are fitted.
int FrmMain::ListInsideWidth() {
    RECT inside;
    GetClientRect(list_, &inside);
    const bool barShown = (GetWindowLongPtrW(list_, GWL_STYLE) & WS_VSCROLL) != 0;
    return inside.right - inside.left + (barShown ? GetSystemMetrics(SM_CXVSCROLL) : 0) -
           (listScrolls_ ? GetSystemMetrics(SM_CXVSCROLL) : 0);
}

// After the columns or the list's width changed: the window takes the
// height the list now needs.
void FrmMain::FitListHeight() {
    if (!list_ || fittingHeight_) return;
    fittingHeight_ = true;
    ApplyListHeight();
    limits_.minHeight = limits_.maxHeight = designHeight_;
    RECT r;
    GetWindowRect(hwnd_, &r);
    if (r.bottom - r.top != designHeight_ && !IsIconic(hwnd_) && !IsZoomed(hwnd_)) {
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, designHeight_,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(leds_, nullptr, TRUE);
    }
    fittingHeight_ = false;
}

void FrmMain::LayoutVertical() {
    const int gap = Scale96(8, dpi_);
    RECT r;
    GetWindowRect(list_, &r);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(list_, nullptr, r.left, gap, r.right - r.left, listHeight_,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(leds_, &r);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(leds_, nullptr, r.left, gap, LedSize(dpi_), listHeight_,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    int y = gap;
    for (int i = 0; i < kCommandCount; ++i) {
        // Gaps between the groups of the context menu: new/move/kill,
        // the state commands, rename/link.
        if (i == 3 || i == 6) y += gap;
        GetWindowRect(buttons_[i], &r);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(buttons_[i], nullptr, r.left, y, r.right - r.left, buttonHeight_,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        y += buttonHeight_ + Scale96(4, dpi_);
    }
}

int FrmMain::WindowWidth() const {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(hwnd_, &placement);
    return placement.rcNormalPosition.right - placement.rcNormalPosition.left;
}

// Horizontal placement only; heights and vertical positions stay as designed.
void FrmMain::SetWidthPos() {
    const Settings& s = program_.settings;
    RECT window;
    GetWindowRect(hwnd_, &window);
    const int width = IsIconic(hwnd_) ? WindowWidth() : window.right - window.left;
    const WidthPos w =
        ComputeWidthPos(width, barWidth_, frameRoom_, s.ShowLEDs, s.ShowButtons, dpi_);
    const int gap = Scale96(8, dpi_);
    SetWindowPos(list_, nullptr, w.listLeft, gap, w.listWidth, listHeight_,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(leds_, nullptr, w.listLeft - LedSize(dpi_) - Scale96(4, dpi_), gap, LedSize(dpi_),
                 listHeight_, SWP_NOZORDER | SWP_NOACTIVATE);
    for (HWND b : buttons_) {
        RECT r;
        GetWindowRect(b, &r);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(b, nullptr, w.barLeft + gap, r.top, barWidth_ - gap, buttonHeight_,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EnableButtonBar(w.barEnabled && !program_.main.Busy);
    InvalidateRect(leds_, nullptr, TRUE);
    FitListHeight();
}

// Column and size policy.
void FrmMain::setresize(bool allowResize) {
    const bool develop = program_.startup.Develop;
    limitsOn_ = false;
    LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    style = allowResize || develop ? (style | WS_THICKFRAME) : (style & ~WS_THICKFRAME);
    SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
    ComputeDesignSize();  // the frame's thickness enters the outer height

    const int screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN) > 0
                                ? GetSystemMetrics(SM_CXVIRTUALSCREEN)
                                : GetSystemMetrics(SM_CXSCREEN);
    limits_ = ComputeSizeLimits(allowResize, designWidth_, designHeight_, screenWidth, dpi_);
    DWORD ex = static_cast<DWORD>(SendMessageW(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    if (allowResize) {
        ex |= LVS_EX_HEADERDRAGDROP;
        const ColumnLayout columns =
            ParseColumnLayout(program_.settings.ColumnOrder, program_.settings.ColumnWidth, dpi_);
        for (int c = 0; c < 4; ++c) {
            fitWithRows_[c] = columns.widths[c] <= 0;
            if (columns.widths[c] > 0)
                SendMessageW(list_, LVM_SETCOLUMNWIDTH, c, columns.widths[c]);
            else
                FitColumn(c);
        }
        std::array<int, 4> order = columns.order;
        SendMessageW(list_, LVM_SETCOLUMNORDERARRAY, 4, reinterpret_cast<LPARAM>(order.data()));
    } else {
        ex &= ~static_cast<DWORD>(LVS_EX_HEADERDRAGDROP);
        int order[4] = {0, 1, 2, 3};
        SendMessageW(list_, LVM_SETCOLUMNORDERARRAY, 4, reinterpret_cast<LPARAM>(order));
    }
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP, ex);
    const int width =
        InitialWindowWidth(allowResize, program_.settings.WindowWidth, limits_, designWidth_, dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, width, designHeight_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    limitsOn_ = !develop;
    SetWidthPos();
}

// The list's own label tips are left off: the window's tooltip shows cut
// texts of every column, not only the first.
void FrmMain::ApplyListStyles() {
    DWORD ex = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
    if (program_.settings.GridLines) ex |= LVS_EX_GRIDLINES;
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE,
                 LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP | LVS_EX_GRIDLINES,
                 ex);
    // Grid lines change the rows' height.
    ComputeDesignSize();
    FitListHeight();
}

void FrmMain::LayoutStatusParts() {
    HDC dc = GetDC(status_);
    HGDIOBJ old = SelectObject(dc, font_.get());
    int parts[5];
    int x = 0;
    for (int i = 0; i < 5; ++i) {
        int extra = Scale96(12, dpi_);
        if (i == 4) extra += Scale96(16 + 8, dpi_);  // the ready LED
        x += TextWidth(dc, status_texts_.panels[i]) + extra;
        parts[i] = x;
    }
    parts[4] = -1;  // the last panel takes the rest
    SelectObject(dc, old);
    ReleaseDC(status_, dc);
    SendMessageW(status_, SB_SETPARTS, 5, reinterpret_cast<LPARAM>(parts));
}

void FrmMain::OnDpiChanged(int dpi, const RECT* suggested) {
    // The layout goes along as the user left it, scaled: the settings hold
    // it only as of the last save. With resizing on, setresize below applies
    // it from the settings.
    if (program_.settings.AllowResize) savelistattrib(program_.settings);
    dpi_ = dpi > 0 ? dpi : 96;
    CreateFonts();
    CreateLedIcons();
    for (HWND b : buttons_)
        SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    if (suggested)
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    setresize(program_.settings.AllowResize);
    // Without resizing the columns follow their contents: fit them anew
    // rather than scale, so rounding cannot push them past the list.
    if (program_.settings.AllowResize)
        FitListHeight();
    else
        FitColumns();
    ShowStatus(status_texts_);
    ShowBusy(program_.main.Busy ? BusyMode::On : BusyMode::Off);
}

// ---------------------------------------------------------------------------
// Resize, move, timers

void FrmMain::OnResize(WPARAM state) {
    MainState& m = program_.main;
    const Settings& s = program_.settings;
    if (state == SIZE_RESTORED && s.AllowResize && list_) SetWidthPos();
    if (resizeGuard_) return;
    if (!s.MinimizeToSystray) {
        m.MinimizedToTray = state == SIZE_MINIMIZED;
        return;
    }
    if (state == SIZE_RESTORED && m.MinimizedToTray) {
        m.MinimizedToTray = false;
        if (program_.startup.IsWin9x) {
            SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        }
        resizeGuard_ = true;
        SetTaskbarButton(true);
        resizeGuard_ = false;
        if (m.TrayIconShown) {
            TrayIconSet(false);
            m.TrayIconShown = false;
        }
    } else if (state == SIZE_MINIMIZED && !m.MinimizedToTray) {
        m.MinimizedToTray = true;
        resizeGuard_ = true;
        SetTaskbarButton(false);
        resizeGuard_ = false;
        if (!m.TrayIconShown) m.TrayIconShown = TrayIconSet(true);
    }
}

void FrmMain::FrmOnMsg_Move() {
    // Moves before the window took its place (creation, a context command's
    // hidden window) are no positions of the user's.
    if (!hwnd_ || !positioned_ || IsIconic(hwnd_) || IsZoomed(hwnd_)) return;
    if (program_.settings.LastPos == "<center>") return;
    RECT r;
    GetWindowRect(hwnd_, &r);
    program_.settings.LastPos = LastPosText(r.left, r.top, win32::SystemDpi());
}

void FrmMain::OnTimer(UINT_PTR id) {
    MainState& m = program_.main;
    if (id == kTimer1) {
        KillTimer(hwnd_, kTimer1);
        timerIntervals_[0] = 0;
        timerEnabled_[0] = false;
        if (!program_.startup.Local) ShowHint(program_, 1);
        if (program_.startup.NoINIAtStart) OnCommand(kIdMnuConfig);
    } else if (id == kTimer2) {
        const bool normal = !IsIconic(hwnd_) && !IsZoomed(hwnd_);
        PollTick(program_, normal);
    } else if (id == kTimer3) {
        if (program_.settings.MinimizeToSystray && m.TrayIconShown) TrayIconCheck(false);
    }
}

// ---------------------------------------------------------------------------
// Notification area

bool FrmMain::TrayIconSet(bool add) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = hwnd_;
    data.uID = kTrayId;
    if (add) {
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = kTrayMessage;
        data.hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                                   IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        lstrcpynW(data.szTip, L"Kelvra", ARRAYSIZE(data.szTip));
        return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    }
    return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

bool FrmMain::TrayIconCheck(bool noReadd) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = hwnd_;
    data.uID = kTrayId;
    if (Shell_NotifyIconW(NIM_MODIFY, &data)) return true;
    if (!noReadd) {
        TrayIconSet(false);
        TrayIconSet(true);
    }
    return false;
}

// An unowned window has a taskbar button whenever it is visible, so taking
// the button away means keeping the window hidden until it comes back.
void FrmMain::SetTaskbarButton(bool on) {
    const bool visible = IsWindowVisible(hwnd_) != FALSE;
    ShowWindow(hwnd_, SW_HIDE);
    LONG_PTR ex = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
    ex = on ? (ex | WS_EX_APPWINDOW) : (ex & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW));
    SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex);
    if (visible && on) ShowWindow(hwnd_, SW_SHOW);
}

void FrmMain::RestoreFromTray() {
    ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOWNORMAL);
    // A window that was never minimized (autostart into the tray) gets no
    // restore notification of its own.
    if (program_.main.MinimizedToTray) OnResize(SIZE_RESTORED);
    SetForegroundWindow(hwnd_);
}

void FrmMain::OnTrayMessage(LPARAM message) {
    if (message == WM_LBUTTONUP) {
        RestoreFromTray();
    } else if (message == WM_RBUTTONUP) {
        // Foreground first, or the menu would not close when the user
        // clicks elsewhere.
        SetForegroundWindow(hwnd_);
        win32::UniqueMenu tray(CreatePopupMenu());
        std::wstring restore = Text(program_.language, TextKey::main_mnutrayrestore);
        std::wstring exit = Text(program_.language, TextKey::main_mnutrayexit);
        AppendMenuW(tray.get(), MF_STRING, kIdMnuTrayRestore, restore.c_str());
        AppendMenuW(tray.get(), MF_SEPARATOR, 0, nullptr);
        AppendMenuW(tray.get(), MF_STRING, kIdMnuTrayExit, exit.c_str());
        SetMenuDefaultItem(tray.get(), kIdMnuTrayRestore, FALSE);
        POINT at;
        GetCursorPos(&at);
        const int chosen = TrackPopupMenu(tray.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y,
                                          0, hwnd_, nullptr);
        PostMessageW(hwnd_, WM_NULL, 0, 0);
        if (chosen == kIdMnuTrayRestore) RestoreFromTray();
        if (chosen == kIdMnuTrayExit) Unload();
    }
}

// The list's popup at the pointer, or for the keyboard (no position) at the
// selected row.
void FrmMain::ShowContextMenu(int x, int y) {
    if (program_.main.Busy) return;
    if (x == -1 && y == -1) {
        const DriveIndex row = SelectedRow();
        RECT item = {};
        item.left = LVIR_LABEL;
        if (row > 0 &&
            SendMessageW(list_, LVM_GETITEMRECT, row - 1, reinterpret_cast<LPARAM>(&item))) {
            POINT p = {item.left + Scale96(8, dpi_), item.bottom};
            ClientToScreen(list_, &p);
            x = p.x;
            y = p.y;
        } else {
            RECT r;
            GetWindowRect(list_, &r);
            x = r.left + Scale96(8, dpi_);
            y = r.top + Scale96(8, dpi_);
        }
    }
    const auto entries = ContextMenuEntries(program_);
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
    const int chosen =
        TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, hwnd_, nullptr);
    if (chosen >= kIdButtonFirst && chosen < kIdButtonFirst + kCommandCount)
        RunCommand(static_cast<Command>(chosen - kIdButtonFirst));
}

// HTML Help is loaded when first needed: a system without it shows nothing.
void FrmMain::OpenHelp(const wchar_t* topic) {
    using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    static HMODULE module = LoadLibraryW(L"hhctrl.ocx");
    static const auto htmlHelp = module ? reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(
                                              GetProcAddress(module, "HtmlHelpW")))
                                        : nullptr;
    const std::string& file = program_.language.HelpFile;
    if (!htmlHelp || file.empty()) return;
    std::wstring target = program_.os.AnsiToWide(file);
    if (topic) target += std::wstring(L"::/") + topic;
    // The help's own window definition, with its navigation pane open.
    target += L">main";
    htmlHelp(hwnd_, target.c_str(), topic ? 0 /* HH_DISPLAY_TOPIC */ : 1 /* HH_DISPLAY_TOC */, 0);
}

// Opens a file with the program the system associates with it.
void FrmMain::OpenDocument(const std::string& path) {
    const std::wstring wide = program_.os.AnsiToWide(path);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(GetDesktopWindow(), L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    // A system without a viewer for plain text (a bare setup) still has
    // Notepad: the history should not silently fail to open.
    if (result == SE_ERR_NOASSOC) {
        const std::wstring quoted = L"\"" + wide + L"\"";
        ShellExecuteW(GetDesktopWindow(), L"open", L"notepad.exe", quoted.c_str(), nullptr,
                      SW_SHOWNORMAL);
    }
}

// ---------------------------------------------------------------------------
// Commands, keys, notifications

void FrmMain::OnCommand(int id) {
    if (id >= kIdButtonFirst && id < kIdButtonFirst + kCommandCount) {
        RunCommand(static_cast<Command>(id - kIdButtonFirst));
        return;
    }
    switch (id) {
        case kIdMnuExit:
            Unload();
            break;
        case kIdMnuConfig:
            ShowConfigWindow(hwnd_, program_);
            UpdateCommands(program_);
            // The box "start at the last position" may have just been ticked.
            if (program_.settings.LastPos != "<center>") {
                RECT r;
                GetWindowRect(hwnd_, &r);
                if (!IsIconic(hwnd_))
                    program_.settings.LastPos = LastPosText(r.left, r.top, win32::SystemDpi());
            }
            break;
        case kIdMnuInfo:
            ShowInfoWindow(hwnd_, program_);
            break;
        case kIdMnuHelp:
            OpenHelp(nullptr);
            break;
        case kIdMnuKeyboard:
            OpenHelp(L"Tastatur.html");
            break;
        case kIdMnuHistory:
            OpenDocument(program_.startup.ApplicationPath + "history.txt");
            break;
        default:
            break;
    }
}

void FrmMain::RunCommand(Command command) {
    switch (command) {
        case Command::New:
            cmdNew_Click(program_);
            break;
        case Command::Move:
            cmdMove_Click(program_);
            break;
        case Command::Kill:
            cmdKill_Click(program_);
            break;
        case Command::Fix:
            cmdFix_Click(program_);
            break;
        case Command::Deactivate:
            cmdDeactivate_Click(program_);
            break;
        case Command::DeactivatePerm:
            cmdDeactivateperm_Click(program_);
            break;
        case Command::Rename:
            cmdRename_Click(program_);
            break;
        case Command::Link:
            cmdLink_Click(program_);
            break;
    }
}

// The row under a point of the main window's client area; -1 for none.
DriveIndex FrmMain::HitTestLetter(int x, int y) {
    LVHITTESTINFO hit = {};
    hit.pt = {x, y};
    MapWindowPoints(hwnd_, list_, &hit.pt, 1);
    const auto item =
        static_cast<int>(SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return item >= 0 && item < kDriveCount ? item + 1 : -1;
}

void FrmMain::SetDropHighlight(DriveIndex row) {
    LVITEMW state = {};
    state.stateMask = LVIS_DROPHILITED;
    state.state = 0;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&state));
    if (row >= 1 && row <= kDriveCount) {
        state.state = LVIS_DROPHILITED;
        SendMessageW(list_, LVM_SETITEMSTATE, row - 1, reinterpret_cast<LPARAM>(&state));
    }
}

void FrmMain::OnDragMove(int x, int y) {
    const DriveIndex row = HitTestLetter(x, y);
    const DriveIndex highlight = lsvView_DragOver(program_, row < 0 ? 0 : row);
    SetDropHighlight(highlight);
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(highlight ? 32512 : 32648)));  // arrow, no
}

// A drag ends with the button released (a drop: the move runs on the last
// target, which is none outside a free row), or cancelled by Esc or the
// capture lost.
void FrmMain::EndDrag(bool dropped) {
    dragging_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
    SetDropHighlight(0);
    if (dropped)
        lsvView_DragComplete(program_);
    else
        lsvView_DragCancel(program_);
}

bool FrmMain::PreTranslate(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    if (!IsWindowEnabled(hwnd_)) return false;  // a modal window of ours is open
    if (dragging_ && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        EndDrag(false);
        return true;
    }
    Modifiers m;
    m.ctrl = GetKeyState(VK_CONTROL) < 0;
    m.shift = GetKeyState(VK_SHIFT) < 0;
    m.alt = GetKeyState(VK_MENU) < 0;
    const KeyAction action =
        MapKey(static_cast<int>(msg.wParam), m, program_.main, program_.startup.IsNT);
    if (action == KeyAction::None) return false;
    RunKey(action);
    return true;
}

void FrmMain::RunKey(KeyAction action) {
    switch (action) {
        case KeyAction::Refresh:
            DisplayRefresh(program_);
            break;
        case KeyAction::DeviceNames:
            SwitchDeviceNames(program_);
            break;
        case KeyAction::Debug: {
            TimerStates timers;
            for (int i = 0; i < 3; ++i) {
                timers[i].Interval = timerIntervals_[i];
                timers[i].Enabled = timerEnabled_[i];
            }
            ShowDebugWindow(hwnd_, program_, timers);
            break;
        }
        case KeyAction::Config:
            OnCommand(kIdMnuConfig);
            break;
        case KeyAction::Info:
            OnCommand(kIdMnuInfo);
            break;
        case KeyAction::History:
            OnCommand(kIdMnuHistory);
            break;
        case KeyAction::KeyboardHelp:
            OnCommand(kIdMnuKeyboard);
            break;
        case KeyAction::Help:
            OnCommand(kIdMnuHelp);
            break;
        case KeyAction::New:
            RunCommand(Command::New);
            break;
        case KeyAction::Kill:
            MessageBeep(0);
            RunCommand(Command::Kill);
            break;
        case KeyAction::Fix:
            RunCommand(Command::Fix);
            break;
        case KeyAction::Deactivate:
            RunCommand(Command::Deactivate);
            break;
        case KeyAction::DeactivatePerm:
            RunCommand(Command::DeactivatePerm);
            break;
        case KeyAction::Rename:
            RunCommand(Command::Rename);
            break;
        case KeyAction::Link:
            RunCommand(Command::Link);
            break;
        case KeyAction::StartMove:
        case KeyAction::CompleteMove:
            RunCommand(Command::Move);
            break;
        case KeyAction::CancelMove:
            // With the mode off the move command cancels the pending move.
            program_.main.MoveMode = false;
            RunCommand(Command::Move);
            break;
        default:
            break;
    }
}

LRESULT FrmMain::OnNotify(NMHDR* header) {
    if (header->hwndFrom == list_) {
        switch (header->code) {
            case NM_CUSTOMDRAW:
                return OnListCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
            case LVN_ITEMCHANGED: {
                auto* change = reinterpret_cast<NMLISTVIEW*>(header);
                if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
                    !(change->uOldState & LVIS_SELECTED))
                    lsvView_ItemClick(program_);
                return 0;
            }
            case LVN_COLUMNCLICK: {
                auto* click = reinterpret_cast<NMLISTVIEW*>(header);
                wchar_t caption[256] = {};
                LVCOLUMNW column = {};
                column.mask = LVCF_TEXT;
                column.pszText = caption;
                column.cchTextMax = 255;
                SendMessageW(list_, LVM_GETCOLUMNW, click->iSubItem,
                             reinterpret_cast<LPARAM>(&column));
                const std::wstring& path = Text(program_.language, TextKey::main_columnpath);
                if (!path.empty() && std::wstring(caption).rfind(path, 0) == 0)
                    SwitchDeviceNames(program_);
                return 0;
            }
            case LVN_BEGINDRAG: {
                auto* drag = reinterpret_cast<NMLISTVIEW*>(header);
                if (!program_.main.MoveMode && lsvView_MouseDown(program_, drag->iItem + 1)) {
                    dragging_ = true;
                    SetCapture(hwnd_);
                }
                return 0;
            }
            case LVN_ENDSCROLL:
                InvalidateRect(leds_, nullptr, TRUE);
                return 0;
        }
        return 0;
    }
    if (header->hwndFrom == reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0)) &&
        (header->code == HDN_ITEMCHANGEDW || header->code == HDN_ITEMCHANGEDA)) {
        PostMessageW(hwnd_, kFitListMessage, 0, 0);
        return 0;
    }
    if (header->code == NM_CUSTOMDRAW) {
        for (HWND b : buttons_)
            if (header->hwndFrom == b)
                return OnButtonCustomDraw(reinterpret_cast<NMCUSTOMDRAW*>(header));
    }
    return 0;
}

LRESULT FrmMain::OnListCustomDraw(NMLVCUSTOMDRAW* draw) {
    switch (draw->nmcd.dwDrawStage) {
        case CDDS_PREPAINT: {
            // A scroll by keys or wheel sends no end-of-scroll notice on
            // every system; the LEDs follow the rows from here.
            const int top = static_cast<int>(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
            if (top != ledTopIndex_) {
                ledTopIndex_ = top;
                InvalidateRect(leds_, nullptr, TRUE);
            }
            return CDRF_NOTIFYITEMDRAW;
        }
        case CDDS_ITEMPREPAINT:
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            const auto item = static_cast<int>(draw->nmcd.dwItemSpec);
            const int sub = draw->iSubItem;
            if (item >= 0 && item < kDriveCount && sub >= 0 && sub < 4)
                draw->clrText = ToColorRef(rows_[item + 1].colours[sub]);
            return CDRF_DODEFAULT;
        }
    }
    return CDRF_DODEFAULT;
}

// A red face for the commands that would cut a live drive without asking.
// Other buttons draw as the system draws them.
LRESULT FrmMain::OnButtonCustomDraw(NMCUSTOMDRAW* draw) {
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
    HBRUSH brush = CreateSolidBrush(ToColorRef(commands_.faces[index]));
    FillRect(dc, &face, brush);
    DeleteObject(brush);
    if (pressed) OffsetRect(&face, 1, 1);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, font_.get());
    const std::wstring caption = WindowTextOf(draw->hdr.hwndFrom);
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (SendMessageW(draw->hdr.hwndFrom, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL)
        format |= DT_HIDEPREFIX;
    SetTextColor(dc, disabled ? RGB(128, 128, 128) : RGB(255, 255, 255));
    DrawTextW(dc, caption.c_str(), -1, &face, format);
    SelectObject(dc, old);
    if (focused && !(SendMessageW(draw->hdr.hwndFrom, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
        RECT focus = r;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
    return CDRF_SKIPDEFAULT;
}

// ---------------------------------------------------------------------------
// MainView

DriveIndex FrmMain::SelectedRow() {
    const auto item = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
    return item >= 0 && item < kDriveCount ? item + 1 : 0;
}

void FrmMain::SelectRow(DriveIndex index) {
    if (!ValidDriveIndex(index) || index == 0) return;
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list_, LVM_SETITEMSTATE, index - 1, reinterpret_cast<LPARAM>(&state));
    SendMessageW(list_, LVM_ENSUREVISIBLE, index - 1, FALSE);
}

void FrmMain::FocusList() {
    if (list_ && IsWindowVisible(hwnd_)) SetFocus(list_);
}

void FrmMain::ShowRows(const RowViews& rows, bool autoSize) {
    for (int i = 1; i <= kDriveCount; ++i) {
        for (int c = 0; c < 4; ++c) {
            if (rows[i].texts[c] == rows_[i].texts[c] && showRowsDone_) continue;
            LVITEMW item = {};
            item.iSubItem = c;
            std::wstring text = rows[i].texts[c];
            item.pszText = text.data();
            SendMessageW(list_, LVM_SETITEMTEXTW, i - 1, reinterpret_cast<LPARAM>(&item));
        }
    }
    rows_ = rows;
    showRowsDone_ = true;
    if (autoSize) {
        FitColumns();
    } else if (fitWithRows_ != std::array<bool, 4>{}) {
        // A column without a stored width was fitted before the first rows
        // were there; fit it once more to what they hold.
        for (int c = 0; c < 4; ++c)
            if (fitWithRows_[c]) FitColumn(c);
        fitWithRows_ = {};
        FitListHeight();
    }
    InvalidateRect(list_, nullptr, FALSE);
    InvalidateRect(leds_, nullptr, TRUE);
}

// A column as wide as its widest text, caption included. The list's own
// header-aware autosize is not used: it cuts captions under Wine.
void FrmMain::FitColumn(int c) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
    wchar_t caption[256] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = caption;
    column.cchTextMax = 255;
    SendMessageW(list_, LVM_GETCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    HDC dc = GetDC(header);
    HGDIOBJ old = SelectObject(dc, font_.get());
    const int headerWidth = TextWidth(dc, caption) + Scale96(16, dpi_);
    SelectObject(dc, old);
    ReleaseDC(header, dc);
    int width = headerWidth;
    if (c == 3) {
        // Measured here rather than by the list's autosize: a path column
        // made wider than the list for a moment leaves both scroll bars
        // standing after it is narrowed again.
        int contents = 0;
        for (int i = 1; i <= kDriveCount; ++i)
            if (!rows_[i].texts[3].empty())
                contents =
                    std::max(contents, static_cast<int>(SendMessageW(
                                           list_, LVM_GETSTRINGWIDTHW, 0,
                                           reinterpret_cast<LPARAM>(rows_[i].texts[3].c_str()))));
        contents += Scale96(12, dpi_);  // the margins the list keeps around a cell's text
        int others = 0;
        for (int o = 0; o < 3; ++o)
            others += static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, o, 0));
        width = FittedPathWidth(contents, headerWidth, others, ListInsideWidth());
    } else {
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE);
        width = std::max(width, static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, c, 0)));
    }
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, c, width);
}

// Every column to its contents; the path column last, in the room the others
// leave, and out of their way while they are measured.
void FrmMain::FitColumns() {
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, 3, 0);
    for (int c = 0; c < 4; ++c) FitColumn(c);
    FitListHeight();
}

void FrmMain::ShowCommands(const CommandView& commands) {
    for (int i = 0; i < kCommandCount; ++i) {
        if (commands.captions[i] != WindowTextOf(buttons_[i]))
            SetWindowTextW(buttons_[i], commands.captions[i].c_str());
        EnableWindow(buttons_[i], buttonBarEnabled_ && commands.enabled[i]);
        if (commands.faces[i] != commands_.faces[i]) InvalidateRect(buttons_[i], nullptr, TRUE);
    }
    commands_ = commands;
}

void FrmMain::ShowStatus(const StatusView& status) {
    status_texts_ = status;
    LayoutStatusParts();
    for (int i = 0; i < 5; ++i)
        SendMessageW(status_, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(status.panels[i].c_str()));
    if (!status.pathCaption.empty()) {
        std::wstring caption = status.pathCaption;
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT;
        column.pszText = caption.data();
        SendMessageW(list_, LVM_SETCOLUMNW, 3, reinterpret_cast<LPARAM>(&column));
    }
}

void FrmMain::ShowBusy(BusyMode mode) {
    const bool busy = mode != BusyMode::Off;
    const Led led = busy ? Led::Red : Led::Green;
    SendMessageW(status_, SB_SETICON, 4,
                 reinterpret_cast<LPARAM>(ledIcons_[static_cast<int>(led)].get()));
    busyCursor_ = busy;
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(busy ? 32514 : 32512)));
    if (!program_.settings.DontShowBusySplash) {
        if (mode == BusyMode::Init && !splash_) {
            splash_ = new FrmSplash();
            splash_->Show(Text(program_.language, TextKey::splash_netsplash), dpi_);
        } else if (mode == BusyMode::Off && splash_) {
            delete splash_;
            splash_ = nullptr;
        }
    }
    // Paint the change now; other pending messages (a close, a timer) wait
    // for the message loop, so nothing runs inside a scan half done.
    UpdateWindow(status_);
    if (splash_) splash_->Paint();
}

void FrmMain::EnableButtonBar(bool enabled) {
    buttonBarEnabled_ = enabled;
    for (int i = 0; i < kCommandCount; ++i)
        EnableWindow(buttons_[i], enabled && commands_.enabled[i]);
}

void FrmMain::EnableMenus(bool enabled) {
    EnableMenuItem(menu_, 0, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu_, 1, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(hwnd_);
}

void FrmMain::ApplyLayout() {
    const Settings& s = program_.settings;
    ShowWindow(leds_, s.ShowLEDs ? SW_SHOWNA : SW_HIDE);
    for (HWND b : buttons_) ShowWindow(b, s.ShowButtons ? SW_SHOWNA : SW_HIDE);
    SetWidthPos();
    if (!s.AllowResize) FitColumns();
}

void FrmMain::ApplyGridLines() {
    ApplyListStyles();
}

void FrmMain::ApplyResizePolicy() {
    // Keep what the user arranged while resizing was allowed; setresize
    // then applies the stored layout or the designed size.
    if (program_.settings.AllowResize) savelistattrib(program_.settings);
    setresize(program_.settings.AllowResize);
    Display(program_);
    savelistattrib(program_.settings);
}

void FrmMain::SetTrayTimer(bool on) {
    if (on)
        SetTimer(hwnd_, kTimer3, 5000, nullptr);
    else
        KillTimer(hwnd_, kTimer3);
    timerIntervals_[2] = on ? 5000 : 0;
    timerEnabled_[2] = on;
}

void FrmMain::ApplyLanguage() {
    initlang();
}

std::optional<ListLayout> FrmMain::CaptureLayout() {
    Settings shown = program_.settings;
    savelistattrib(shown);
    return ListLayout{shown.ColumnOrder, shown.ColumnWidth, shown.WindowWidth};
}

void FrmMain::savelistattrib(Settings& settings) {
    std::array<int, 4> order{0, 1, 2, 3};
    SendMessageW(list_, LVM_GETCOLUMNORDERARRAY, 4, reinterpret_cast<LPARAM>(order.data()));
    std::array<int, 4> widths{};
    for (int c = 0; c < 4; ++c)
        widths[c] = static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, c, 0));
    settings.ColumnOrder = ColumnOrderText(order);
    settings.ColumnWidth = ColumnWidthText(widths, dpi_);
    settings.WindowWidth = PixelsToTwips(WindowWidth(), dpi_);
}

// ---------------------------------------------------------------------------
// Unload

void FrmMain::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    for (UINT_PTR id : {kTimer1, kTimer2, kTimer3}) KillTimer(hwnd_, id);
    timerEnabled_ = {};
    FrmOnMsg_Move();
    ScanAndSaveAtUnload(program_);
    if (program_.main.TrayIconShown) TrayIconSet(false);
    program_.main.TrayIconShown = false;
    limitsOn_ = false;
    delete splash_;
    splash_ = nullptr;
    DestroyWindow(hwnd_);
}

}  // namespace kelvra
