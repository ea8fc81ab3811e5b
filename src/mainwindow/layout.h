// The main window's geometry and keyboard table as plain computations: what
// the window applies in pixels, and what the settings store in twips. Bad
// stored values never reach the window unchecked.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/dpi.h"

namespace kelvra {

struct MainState;
enum class Command : int;

// Positions and sizes in the settings are twips: 1440 to the inch.
int TwipsToPixels(int twips, int dpi);
int PixelsToTwips(int pixels, int dpi);

// Outer width of the window as designed, and the list's designed width; the
// difference is the room of the frame and the margins.
constexpr int kDesignWidthTwips = 9855;
constexpr int kListDesignWidthTwips = 9495;

// Horizontal placement of the LED strip, list and button bar (pixels).
struct WidthPos {
    int listLeft = 0;
    int listWidth = 0;
    int barLeft = 0;
    bool barEnabled = false;
};
// windowWidth: the window's outer width; barWidth: the button bar's width;
// frameRoom: the designed frame room; unit: 1 pixel at 96 dpi, scaled.
WidthPos ComputeWidthPos(int windowWidth, int barWidth, int frameRoom, bool leds, bool buttons,
                         int dpi);

// The list's columns from "ColumnOrder" and "ColumnWidth". order[p] is the
// column shown at position p; a broken order (not a permutation of 1..4)
// falls back to 1/2/3/4. A width that is missing, not positive or absurd is 0,
// meaning "fit to contents".
struct ColumnLayout {
    std::array<int, 4> order{0, 1, 2, 3};
    std::array<int, 4> widths{};  // pixels
};
ColumnLayout ParseColumnLayout(const std::string& order, const std::string& widths, int dpi);
// The settings texts for the columns as shown: positions of columns 1..4 and
// their widths in twips, joined by "/".
std::string ColumnOrderText(const std::array<int, 4>& order);
std::string ColumnWidthText(const std::array<int, 4>& widths, int dpi);

// Tracking limits handed to the system (pixels). Without resizing the window
// keeps its designed size; with it, it may be narrowed by 200 pixels (at 96
// dpi, scaled) and widened to the screen, never made taller or lower.
struct SizeLimits {
    int minWidth = 0, maxWidth = 0, minHeight = 0, maxHeight = 0;
};
SizeLimits ComputeSizeLimits(bool allowResize, int designWidth, int designHeight, int screenWidth,
                             int dpi);
// The list's height when the window, designed to show every row, would be
// taller than the work area: the list gives up the excess and scrolls, but
// keeps room for the button bar beside it.
int ListHeightToFit(int listHeight, int minListHeight, int windowHeight, int workAreaHeight);
// The LEDs beside the rows are squares of this size.
int LedSize(int dpi);
// The list makes a row as tall as its text or its small image, whichever is
// taller; a blank image of this height keeps every row at least as tall as an
// LED, so the LEDs of neighbouring rows never overlap.
int RowImageHeight(int dpi);
// The LED drawn beside a row of rowHeight pixels: its full size, or the row's
// height where a list did not take the image's height.
int LedSizeInRow(int rowHeight, int dpi);

// The path column fitted to its contents: its longest text, but no wider
// than the room the other columns leave inside the list, so a long path is
// cut (and shown whole as a tooltip) instead of widening the columns past
// the list's edge; never narrower than its caption.
int FittedPathWidth(int contentWidth, int captionWidth, int otherColumnsWidth, int clientWidth);
// The list's height for all its rows: header, rows and borders, and the
// horizontal scroll bar's height when the columns are wider than the list's
// inside, so the bar never covers the last row.
struct ListMetrics {
    int header = 0, row = 0, rows = 0, borders = 0, scrollBar = 0;
};
bool ColumnsOverflow(const std::array<int, 4>& widths, int clientWidth);
int ListHeightForRows(const ListMetrics& m, bool columnsOverflow);

// The window's width at load: "WindowWidth" within the limits when resizing
// is allowed, else the designed width.
int InitialWindowWidth(bool allowResize, int windowWidthTwips, const SizeLimits& limits,
                       int designWidth, int dpi);

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};
// Where the window opens. "<center>" centres it on the primary work area;
// otherwise "left/top" in twips (missing or junk parts count as 0, extra
// parts are ignored). A position from which the window's title bar would not
// be reachable on any work area centres it instead.
//
// Positions are converted with one DPI for the whole desktop, the system's
// (systemDpi), whichever monitor the window is on: screen coordinates are
// one space across monitors of different DPI, so a position stored on one
// reads back to the same place, also in earlier versions, which read it
// with the primary monitor's DPI.
struct Point {
    int x = 0, y = 0;
};
Point WindowPosition(const std::string& lastPos, int width, int height,
                     const std::vector<Rect>& workAreas, int systemDpi);
// "LastPos" for a window at left/top (pixels).
std::string LastPosText(int left, int top, int systemDpi);

// The window's keyboard table.
enum class KeyAction {
    None,
    Debug,
    History,
    DeviceNames,
    Refresh,
    CancelMove,
    CompleteMove,
    Info,
    KeyboardHelp,
    Help,
    Rename,
    Fix,
    Deactivate,
    DeactivatePerm,
    Link,
    StartMove,
    New,
    Kill,
    Config,
    Exit,  // the file menu's last item; no key
};
struct Modifiers {
    bool ctrl = false, shift = false, alt = false;
};
// Virtual-key codes as the system sends them.
namespace vk {
constexpr int kReturn = 0x0D;
constexpr int kEscape = 0x1B;
constexpr int kF1 = 0x70;
inline constexpr int F(int n) {
    return kF1 + n - 1;
}
}  // namespace vk
// The action of a key press; modifiers must match exactly, and a command's
// key does nothing while the command is not available.
KeyAction MapKey(int key, Modifiers modifiers, const MainState& state, bool isNT);
// The key of an action as menus show it beside an item: "Ctrl", "Shift",
// "Alt", "Enter", "Esc" and "F1".."F12" joined by "+" (the window names the
// modifiers in the keyboard's language); empty for actions without a key.
std::string KeyText(KeyAction action);
// The button command a key or menu item runs; false for the window's own
// operations (help, configuration, refresh, ...). One table for keys and
// menus, so an item and the key shown beside it do the same.
bool CommandOfAction(KeyAction action, Command& command);

}  // namespace kelvra
