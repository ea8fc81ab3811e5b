// The main window's layout: sizes from the font and the DPI, the list's
// height for its rows, the horizontal placement of list, LEDs and buttons,
// the size policy, and the change of DPI.
#include <algorithm>
#include <vector>

#include "mainwindow/win32/frm_main.h"
#include "mainwindow/win32/frm_splash.h"
#include "platform/win32/window_support.h"
#include "program.h"
#include "startup/settings.h"

namespace kelvra {
namespace {

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

}  // namespace

void FrmMain::PlaceWindow() {
    RECT r;
    GetWindowRect(hwnd_, &r);
    const Point p = WindowPosition(program_.settings.LastPos, r.right - r.left, r.bottom - r.top,
                                   WorkAreas(), win32::SystemDpi());
    SetWindowPos(hwnd_, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Onto a monitor of another DPI the window took the place the system
    // suggested with its new size: back to the stored one.
    GetWindowRect(hwnd_, &r);
    if (r.left != p.x || r.top != p.y)
        SetWindowPos(hwnd_, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    positioned_ = true;
}

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

// Sizes that follow from the font and the DPI: the button bar fits its
// longest caption, the list its 26 rows, and the window both.
void FrmMain::ComputeDesignSize() {
    int longest = 0;
    TEXTMETRICW tm = {};
    {
        win32::WindowDc dc(hwnd_);
        win32::Selected font(dc.get(), font_.get());
        longest = ButtonBar::LongestCaption(dc.get(), program_.language);
        GetTextMetricsW(dc.get(), &tm);
    }

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
    RECT header = {};
    GetWindowRect(list_.Header(), &header);
    listMetrics_.header = header.bottom - header.top;
    listMetrics_.row = list_.RowHeight();
    listMetrics_.rows = kDriveCount;
    listMetrics_.borders = 2 * GetSystemMetrics(SM_CYEDGE) + Scale96(2, dpi_);
    listMetrics_.scrollBar = GetSystemMetrics(SM_CYHSCROLL);
    minListHeight_ = kCommandCount * (buttonHeight_ + Scale96(4, dpi_)) + 2 * gap;

    RECT statusRect = {};
    GetWindowRect(status_, &statusRect);
    const int statusHeight = std::max(static_cast<int>(statusRect.bottom - statusRect.top),
                                      static_cast<int>(tm.tmHeight) + Scale96(8, dpi_));
    // The window with its menu bar.
    const RECT outer = win32::FrameForClient(
        100, gap + gap + statusHeight, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)),
        static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)), true, dpi_);
    chromeHeight_ = outer.bottom - outer.top;
    ApplyListHeight();
}

// The list's and the window's designed heights for the columns as they are
// now: the list grows by the horizontal scroll bar when the columns overflow.
void FrmMain::ApplyListHeight() {
    list_.SetScrolls(false);
    listHeight_ = std::max(
        ListHeightForRows(listMetrics_, ColumnsOverflow(list_.ColumnWidths(), list_.InsideWidth())),
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
        list_.SetScrolls(fitted < listHeight_);
        listHeight_ = fitted;
    }
    LayoutVertical();
}

void FrmMain::FitColumns() {
    list_.FitColumns();
    FitListHeight();
}

// After the columns or the list's width changed: the window takes the
// height the list now needs.
void FrmMain::FitListHeight() {
    if (!list_.hwnd() || fittingHeight_) return;
    fittingHeight_ = true;
    ApplyListHeight();
    limits_.minHeight = limits_.maxHeight = designHeight_;
    RECT r;
    GetWindowRect(hwnd_, &r);
    if (r.bottom - r.top != designHeight_ && !IsIconic(hwnd_) && !IsZoomed(hwnd_)) {
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, designHeight_,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        leds_.Invalidate();
    }
    fittingHeight_ = false;
}

void FrmMain::LayoutVertical() {
    const int gap = Scale96(8, dpi_);
    for (HWND control : {list_.hwnd(), leds_.hwnd()}) {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        const int width = control == leds_.hwnd() ? LedSize(dpi_) : r.right - r.left;
        win32::PlaceChild(control, r.left, gap, width, listHeight_);
    }
    buttons_.LayoutVertical(gap, buttonHeight_, gap, Scale96(4, dpi_));
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
    win32::PlaceChild(list_.hwnd(), w.listLeft, gap, w.listWidth, listHeight_);
    win32::PlaceChild(leds_.hwnd(), w.listLeft - LedSize(dpi_) - Scale96(4, dpi_), gap,
                      LedSize(dpi_), listHeight_);
    buttons_.LayoutHorizontal(hwnd_, w.barLeft + gap, barWidth_ - gap, buttonHeight_);
    EnableButtonBar(w.barEnabled && !program_.main.Busy);
    leds_.Invalidate();
    FitListHeight();
}

// Column and size policy.
void FrmMain::SetResize(bool allowResize) {
    const bool develop = program_.startup.Develop;
    limitsOn_ = false;
    const LONG_PTR before = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    const LONG_PTR style =
        allowResize || develop ? (before | WS_THICKFRAME) : (before & ~WS_THICKFRAME);
    if (style != before) SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
    ComputeDesignSize();  // the frame's thickness enters the outer height

    const int screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN) > 0
                                ? GetSystemMetrics(SM_CXVIRTUALSCREEN)
                                : GetSystemMetrics(SM_CXSCREEN);
    limits_ = ComputeSizeLimits(allowResize, designWidth_, designHeight_, screenWidth, dpi_);
    list_.ApplyColumnLayout(allowResize, ParseColumnLayout(program_.settings.ColumnOrder,
                                                           program_.settings.ColumnWidth, dpi_));
    const int width =
        InitialWindowWidth(allowResize, program_.settings.WindowWidth, limits_, designWidth_, dpi_);
    // The frame is computed anew for a changed style or DPI; the window
    // being loaded has the frame it was made with.
    const bool newFrame = style != before || positioned_;
    SetWindowPos(hwnd_, nullptr, 0, 0, width, designHeight_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (newFrame ? SWP_FRAMECHANGED : 0));
    limitsOn_ = !develop;
    SetWidthPos();
}

void FrmMain::ApplyListStyles() {
    list_.ApplyStyles(program_.settings.GridLines);
    // Grid lines change the rows' height.
    ComputeDesignSize();
    FitListHeight();
}

void FrmMain::LayoutStatusParts() {
    int parts[5];
    {
        win32::WindowDc dc(status_);
        win32::Selected font(dc.get(), font_.get());
        int x = 0;
        for (int i = 0; i < 5; ++i) {
            int extra = Scale96(12, dpi_);
            if (i == 4) extra += Scale96(16 + 8, dpi_);  // the ready LED
            x += TextWidth(dc.get(), status_texts_.panels[i]) + extra;
            parts[i] = x;
        }
    }
    parts[4] = -1;  // the last panel takes the rest
    SendMessageW(status_, SB_SETPARTS, 5, reinterpret_cast<LPARAM>(parts));
}

void FrmMain::OnDpiChanged(int dpi, const RECT* suggested) {
    // The layout goes along as the user left it, scaled: the settings hold
    // it only as of the last save. With resizing on, SetResize below applies
    // it from the settings.
    if (program_.settings.AllowResize) KeepLayout();
    dpi_ = dpi > 0 ? dpi : 96;
    CreateFonts();
    leds_.CreateIcons(dpi_);
    list_.SetDpi(dpi_);
    buttons_.SetFont(font_.get());
    list_.SetFont(font_.get(), true);
    SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    if (suggested)
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetResize(program_.settings.AllowResize);
    // Without resizing the columns follow their contents: fit them anew
    // rather than scale, so rounding cannot push them past the list.
    if (program_.settings.AllowResize)
        FitListHeight();
    else
        FitColumns();
    ShowStatus(status_texts_);
    ShowBusy(program_.main.Busy ? BusyMode::On : BusyMode::Off);
}

}  // namespace kelvra
