#include "mainwindow/win32/drive_list.h"

#include <windowsx.h>

#include <algorithm>

#include "language/language.h"
#include "mainwindow/layout.h"
#include "mainwindow/win32/main_ids.h"
#include "platform/win32/handles.h"

namespace kelvra {
namespace {

constexpr UINT_PTR kListSubclassId = 1;
constexpr TextKey kColumnKeys[4] = {TextKey::main_columndrive, TextKey::main_columnperm,
                                    TextKey::main_columntype, TextKey::main_columnpath};

}  // namespace

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

void DriveList::Create(HWND parent, HGDIOBJ font, int dpi) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    font_ = font;
    dpi_ = dpi;
    list_ = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0,
        100, 100, parent, reinterpret_cast<HMENU>(kIdList), instance, nullptr);
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
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
    // Every cell is empty, as in rows_: the first rows set only the cells
    // that hold a text.
    showRowsDone_ = true;

    SetWindowSubclass(list_, &DriveList::SubclassProc, kListSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
}

// One tool over the list, moved to the cell under the pointer; it shows the
// whole text of a cell its column cuts. Made when the pointer first comes
// over the list: a window of its own that the first screen does not need.
void DriveList::CreateTooltip() {
    const HWND parent = GetParent(list_);
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!tooltip_) return;
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = list_;
    tool.uId = 1;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN));
}

HWND DriveList::Header() const {
    return reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
}

void DriveList::SetDpi(int dpi) {
    dpi_ = dpi;
    if (list_) ApplyRowImages();
}

void DriveList::SetFont(HGDIOBJ font, bool redraw) {
    font_ = font;
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

// A blank image list for the rows: the list makes its rows at least as tall
// as the images, and so as tall as the LEDs beside them.
void DriveList::ApplyRowImages() {
    HIMAGELIST images = ImageList_Create(1, RowImageHeight(dpi_), ILC_COLOR32, 1, 0);
    if (!images) return;
    HIMAGELIST old = reinterpret_cast<HIMAGELIST>(
        SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images)));
    if (old) ImageList_Destroy(old);
}

// The list's own label tips are left off: the window's tooltip shows cut
// texts of every column, not only the first.
void DriveList::ApplyStyles(bool gridLines) {
    DWORD ex = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
    if (gridLines) ex |= LVS_EX_GRIDLINES;
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE,
                 LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP | LVS_EX_GRIDLINES,
                 ex);
}

void DriveList::ApplyLanguage(const LanguageState& language) {
    for (int c = 0; c < 4; ++c) SetColumnCaption(c, Text(language, kColumnKeys[c]));
}

void DriveList::SetColumnCaption(int c, std::wstring caption) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = caption.data();
    SendMessageW(list_, LVM_SETCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
}

std::wstring DriveList::ColumnCaption(int c) const {
    wchar_t caption[256] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = caption;
    column.cchTextMax = 255;
    SendMessageW(list_, LVM_GETCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    return caption;
}

void DriveList::ShowRows(const RowViews& rows) {
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
}

LRESULT DriveList::OnCustomDraw(NMLVCUSTOMDRAW* draw) const {
    switch (draw->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
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

DriveIndex DriveList::SelectedRow() const {
    const auto item = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
    return item >= 0 && item < kDriveCount ? item + 1 : 0;
}

void DriveList::SelectRow(DriveIndex index) {
    if (!ValidDriveIndex(index) || index == 0) return;
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list_, LVM_SETITEMSTATE, index - 1, reinterpret_cast<LPARAM>(&state));
    SendMessageW(list_, LVM_ENSUREVISIBLE, index - 1, FALSE);
}

int DriveList::TopIndex() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
}

int DriveList::RowHeight() const {
    RECT item = {};
    item.left = LVIR_BOUNDS;
    SendMessageW(list_, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    return std::max(1, static_cast<int>(item.bottom - item.top));
}

// A column as wide as its widest text, caption included. The list's own
// header-aware autosize is not used: it cuts captions under Wine.
void DriveList::FitColumn(int c) {
    int headerWidth = 0;
    {
        const HWND header = Header();
        win32::WindowDc dc(header);
        win32::Selected font(dc.get(), font_);
        headerWidth = TextWidth(dc.get(), ColumnCaption(c)) + Scale96(16, dpi_);
    }
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
        width = FittedPathWidth(contents, headerWidth, others, InsideWidth());
    } else {
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE);
        width = std::max(width, static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, c, 0)));
    }
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, c, width);
}

// The path column is out of the others' way while they are measured.
void DriveList::FitColumns() {
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, 3, 0);
    for (int c = 0; c < 4; ++c) FitColumn(c);
}

bool DriveList::FitPendingColumns() {
    if (fitWithRows_ == std::array<bool, 4>{}) return false;
    for (int c = 0; c < 4; ++c)
        if (fitWithRows_[c]) FitColumn(c);
    fitWithRows_ = {};
    return true;
}

void DriveList::ApplyColumnLayout(bool allowResize, const ColumnLayout& columns) {
    DWORD ex = static_cast<DWORD>(SendMessageW(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    std::array<int, 4> order{0, 1, 2, 3};
    if (allowResize) {
        ex |= LVS_EX_HEADERDRAGDROP;
        for (int c = 0; c < 4; ++c) {
            fitWithRows_[c] = columns.widths[c] <= 0;
            if (columns.widths[c] > 0)
                SendMessageW(list_, LVM_SETCOLUMNWIDTH, c, columns.widths[c]);
            else
                FitColumn(c);
        }
        order = columns.order;
    } else {
        ex &= ~static_cast<DWORD>(LVS_EX_HEADERDRAGDROP);
    }
    SendMessageW(list_, LVM_SETCOLUMNORDERARRAY, 4, reinterpret_cast<LPARAM>(order.data()));
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP, ex);
}

std::array<int, 4> DriveList::ColumnOrder() const {
    std::array<int, 4> order{0, 1, 2, 3};
    SendMessageW(list_, LVM_GETCOLUMNORDERARRAY, 4, reinterpret_cast<LPARAM>(order.data()));
    return order;
}

std::array<int, 4> DriveList::ColumnWidths() const {
    std::array<int, 4> widths{};
    for (int c = 0; c < 4; ++c)
        widths[c] = static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, c, 0));
    return widths;
}

// The width the columns have inside the list's borders. A list that shows
// every row has no vertical scroll bar, whatever it shows for a moment while
// the columns are fitted.
int DriveList::InsideWidth() const {
    RECT inside;
    GetClientRect(list_, &inside);
    const bool barShown = (GetWindowLongPtrW(list_, GWL_STYLE) & WS_VSCROLL) != 0;
    return inside.right - inside.left + (barShown ? GetSystemMetrics(SM_CXVSCROLL) : 0) -
           (scrolls_ ? GetSystemMetrics(SM_CXVSCROLL) : 0);
}

DriveIndex DriveList::HitTest(HWND parent, int x, int y) const {
    LVHITTESTINFO hit = {};
    hit.pt = {x, y};
    MapWindowPoints(parent, list_, &hit.pt, 1);
    const auto item =
        static_cast<int>(SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return item >= 0 && item < kDriveCount ? item + 1 : -1;
}

void DriveList::SetDropHighlight(DriveIndex row) {
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

POINT DriveList::PopupPoint() const {
    const DriveIndex row = SelectedRow();
    RECT item = {};
    item.left = LVIR_LABEL;
    if (row > 0 && SendMessageW(list_, LVM_GETITEMRECT, row - 1, reinterpret_cast<LPARAM>(&item))) {
        POINT p = {item.left + Scale96(8, dpi_), item.bottom};
        ClientToScreen(list_, &p);
        return p;
    }
    RECT r;
    GetWindowRect(list_, &r);
    return {r.left + Scale96(8, dpi_), r.top + Scale96(8, dpi_)};
}

LRESULT CALLBACK DriveList::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<DriveList*>(data);
    try {
        if (message == WM_MOUSEMOVE) {
            if (!self->tooltip_) self->CreateTooltip();
            if (self->tooltip_) self->TrackTipCell(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
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
            RemoveWindowSubclass(hwnd, &DriveList::SubclassProc, kListSubclassId);
        }
    } catch (...) {
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// A new cell under the pointer closes the tip of the last one; the tool
// moves onto the new cell, so the tip opens there after the usual pause.
void DriveList::TrackTipCell(int x, int y) {
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
std::wstring DriveList::CutCellText() const {
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

}  // namespace kelvra
