// The drive list (lsvView): 26 rows in four columns, fitted to their texts,
// coloured by custom draw, with a tip that shows a cut cell's whole text and
// the drop highlight of a drag.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "mainwindow/main_view.h"
#include "platform/win32/windows_api.h"

namespace kelvra {

struct LanguageState;
struct ColumnLayout;

class DriveList {
  public:
    void Create(HWND parent, HGDIOBJ font, int dpi);
    HWND hwnd() const { return list_; }
    HWND Header() const;
    // Row images follow the DPI: they set the rows' height.
    void SetDpi(int dpi);
    void SetFont(HGDIOBJ font, bool redraw);
    // Grid lines on or off; the rows' height changes with them.
    void ApplyStyles(bool gridLines);
    void ApplyLanguage(const LanguageState& language);
    void SetColumnCaption(int column, std::wstring caption);
    std::wstring ColumnCaption(int column) const;

    const RowView& Row(DriveIndex index) const { return rows_[index]; }
    void ShowRows(const RowViews& rows);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw) const;
    DriveIndex SelectedRow() const;
    void SelectRow(DriveIndex index);
    int TopIndex() const;
    int RowHeight() const;

    // Every column to its contents; the path column last, in the room the
    // others leave.
    void FitColumns();
    // Columns without a stored width, fitted once more when the first rows
    // arrive; true when there were any.
    bool FitPendingColumns();
    // The stored order and widths while the user may arrange the columns,
    // else the designed order with the header's drag and drop off.
    void ApplyColumnLayout(bool allowResize, const ColumnLayout& columns);
    std::array<int, 4> ColumnOrder() const;
    std::array<int, 4> ColumnWidths() const;
    int InsideWidth() const;
    // The window is too low for every row: the list has a vertical scroll bar.
    void SetScrolls(bool scrolls) { scrolls_ = scrolls; }

    // The row under a point of the parent's client area; -1 for none.
    DriveIndex HitTest(HWND parent, int x, int y) const;
    void SetDropHighlight(DriveIndex row);
    // Where the popup opens for the keyboard: under the selected row.
    POINT PopupPoint() const;

  private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    void FitColumn(int column);
    void ApplyRowImages();
    void CreateTooltip();
    void TrackTipCell(int x, int y);
    std::wstring CutCellText() const;

    HWND list_ = nullptr;
    HGDIOBJ font_ = nullptr;  // the window's, for measuring captions
    int dpi_ = 96;
    RowViews rows_{};
    bool showRowsDone_ = false;          // rows_ mirrors the list's texts
    std::array<bool, 4> fitWithRows_{};  // columns to fit when rows arrive
    bool scrolls_ = false;
    HWND tooltip_ = nullptr;  // a cut cell's whole text
    int tipCell_ = -1;        // row * 4 + column under the pointer
    std::wstring tipText_;    // what the tip shows, kept while it shows
};

// The width of a caption as a control draws it: the access-key marker
// takes no room.
int TextWidth(HDC dc, const std::wstring& text);
// A colour the logic gives as 0xRRGGBB.
inline COLORREF ToColorRef(uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace kelvra
