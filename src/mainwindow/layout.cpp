#include "mainwindow/layout.h"

#include <algorithm>
#include <cstdlib>

#include "mainwindow/main_view.h"
#include "util/text.h"

namespace kelvra {
namespace {

constexpr int kTwipsPerInch = 1440;
// Widths beyond this are taken as broken values, not as wishes.
constexpr int kMaxColumnPixels = 4096;

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t p = s.find(sep, start);
        parts.push_back(s.substr(start, p == std::string::npos ? std::string::npos : p - start));
        if (p == std::string::npos) break;
        start = p + 1;
    }
    return parts;
}

}  // namespace

int TwipsToPixels(int twips, int dpi) {
    return MulDivRound(twips, dpi, kTwipsPerInch);
}
int PixelsToTwips(int pixels, int dpi) {
    return MulDivRound(pixels, kTwipsPerInch, dpi);
}

WidthPos ComputeWidthPos(int windowWidth, int barWidth, int frameRoom, bool leds, bool buttons,
                         int dpi) {
    const int L = leds ? 1 : 0;
    const int B = buttons ? 1 : 0;
    const int led = LedSize(dpi);
    const int gap = Scale96(8, dpi);
    WidthPos w;
    w.listWidth =
        std::max(0, windowWidth - (led * L + frameRoom + gap + gap) - (barWidth - gap) * B);
    w.listLeft = led * L + gap;
    w.barLeft = windowWidth - barWidth - frameRoom;
    w.barEnabled = buttons;
    return w;
}

ColumnLayout ParseColumnLayout(const std::string& order, const std::string& widths, int dpi) {
    ColumnLayout layout;
    // Part i is the position of column i.
    const std::vector<std::string> positions = Split(order, '/');
    std::array<int, 4> byPosition{-1, -1, -1, -1};
    bool valid = positions.size() == 4;
    for (int column = 0; valid && column < 4; ++column) {
        const double p = text::LeadingNumber(positions[column]);
        const int pos = static_cast<int>(p);
        if (p != pos || pos < 1 || pos > 4 || byPosition[pos - 1] != -1) {
            valid = false;
            break;
        }
        byPosition[pos - 1] = column;
    }
    if (valid) layout.order = byPosition;

    const std::vector<std::string> parts = Split(widths, '/');
    for (int column = 0; column < 4; ++column) {
        if (static_cast<std::size_t>(column) >= parts.size()) break;
        const int twips = text::LeadingInteger(parts[column]);
        const int px = twips > 0 ? TwipsToPixels(twips, dpi) : 0;
        // A column narrower than a few pixels cannot be seen or grabbed again.
        layout.widths[column] = (px >= Scale96(8, dpi) && px <= kMaxColumnPixels) ? px : 0;
    }
    return layout;
}

std::string ColumnOrderText(const std::array<int, 4>& order) {
    std::array<int, 4> position{1, 2, 3, 4};
    for (int p = 0; p < 4; ++p)
        if (order[p] >= 0 && order[p] < 4) position[order[p]] = p + 1;
    return std::to_string(position[0]) + "/" + std::to_string(position[1]) + "/" +
           std::to_string(position[2]) + "/" + std::to_string(position[3]);
}

std::string ColumnWidthText(const std::array<int, 4>& widths, int dpi) {
    std::string s;
    for (int i = 0; i < 4; ++i) {
        if (i) s += "/";
        s += std::to_string(PixelsToTwips(widths[i], dpi));
    }
    return s;
}

SizeLimits ComputeSizeLimits(bool allowResize, int designWidth, int designHeight, int screenWidth,
                             int dpi) {
    SizeLimits l;
    l.minHeight = l.maxHeight = designHeight;
    if (allowResize) {
        l.minWidth = std::max(1, designWidth - Scale96(200, dpi));
        l.maxWidth = std::max(l.minWidth, screenWidth);
    } else {
        l.minWidth = l.maxWidth = designWidth;
    }
    return l;
}

int ListHeightToFit(int listHeight, int minListHeight, int windowHeight, int workAreaHeight) {
    if (workAreaHeight <= 0 || windowHeight <= workAreaHeight) return listHeight;
    const int fitted = listHeight - (windowHeight - workAreaHeight);
    return std::min(listHeight, std::max(fitted, minListHeight));
}

int LedSize(int dpi) {
    return Scale96(16, dpi);
}

int RowImageHeight(int dpi) {
    return LedSize(dpi);
}

int LedSizeInRow(int rowHeight, int dpi) {
    return std::max(1, std::min(LedSize(dpi), rowHeight));
}

int FittedPathWidth(int contentWidth, int captionWidth, int otherColumnsWidth, int clientWidth) {
    const int room = clientWidth - otherColumnsWidth;
    return std::max(captionWidth, std::min(contentWidth, room));
}

bool ColumnsOverflow(const std::array<int, 4>& widths, int clientWidth) {
    long long total = 0;
    for (int w : widths) total += std::max(0, w);
    return total > clientWidth;
}

int ListHeightForRows(const ListMetrics& m, bool columnsOverflow) {
    return m.header + m.rows * m.row + m.borders + (columnsOverflow ? m.scrollBar : 0);
}

int InitialWindowWidth(bool allowResize, int windowWidthTwips, const SizeLimits& limits,
                       int designWidth, int dpi) {
    if (!allowResize) return designWidth;
    const int wanted = TwipsToPixels(windowWidthTwips, dpi);
    return std::clamp(wanted, limits.minWidth, limits.maxWidth);
}

Point WindowPosition(const std::string& lastPos, int width, int height,
                     const std::vector<Rect>& workAreas, int systemDpi) {
    const int dpi = systemDpi;
    const Rect primary = workAreas.empty() ? Rect{0, 0, 1024, 768} : workAreas.front();
    Point centred{primary.left + (primary.right - primary.left - width) / 2,
                  primary.top + (primary.bottom - primary.top - height) / 2};
    if (lastPos == "<center>") return centred;
    const std::vector<std::string> parts = Split(lastPos, '/');
    Point p;
    p.x = TwipsToPixels(text::LeadingInteger(parts[0]), dpi);
    p.y = parts.size() > 1 ? TwipsToPixels(text::LeadingInteger(parts[1]), dpi) : 0;
    // The title bar must be reachable: some of its width and its top edge
    // within one work area.
    const int grip = Scale96(48, dpi);
    for (const Rect& a : workAreas) {
        const int visibleX = std::min(p.x + width, a.right) - std::max(p.x, a.left);
        if (visibleX >= std::min(grip, width) && p.y >= a.top && p.y + Scale96(8, dpi) <= a.bottom)
            return p;
    }
    return centred;
}

std::string LastPosText(int left, int top, int systemDpi) {
    return std::to_string(PixelsToTwips(left, systemDpi)) + "/" +
           std::to_string(PixelsToTwips(top, systemDpi));
}

KeyAction MapKey(int key, Modifiers m, const MainState& s, bool isNT) {
    const bool none = !m.ctrl && !m.shift && !m.alt;
    const bool ctrlOnly = m.ctrl && !m.shift && !m.alt;
    auto can = [&](Command c) { return s.CanDo(c); };
    if (ctrlOnly) {
        switch (key) {
            case 'D':
                return KeyAction::Debug;
            case 'H':
                return KeyAction::History;
            case 'P':
                return isNT ? KeyAction::DeviceNames : KeyAction::None;
            case 'R':
                return KeyAction::Refresh;
        }
        return KeyAction::None;
    }
    if (m.ctrl && m.shift && !m.alt && key == vk::F(5))
        return can(Command::Link) ? KeyAction::Link : KeyAction::None;
    if (m.alt && !m.ctrl && !m.shift && key == vk::kReturn) return KeyAction::Info;
    if (m.shift && !m.ctrl && !m.alt && key == vk::kF1) return KeyAction::KeyboardHelp;
    if (!none) return KeyAction::None;
    if (key == vk::kF1) return KeyAction::Help;
    switch (key) {
        case vk::kEscape:
            return s.MoveMode ? KeyAction::CancelMove : KeyAction::None;
        case vk::kReturn:
            return s.MoveMode && can(Command::Move) ? KeyAction::CompleteMove : KeyAction::None;
    }
    if (key == vk::F(2)) return can(Command::Rename) ? KeyAction::Rename : KeyAction::None;
    if (key == vk::F(3)) return can(Command::Fix) ? KeyAction::Fix : KeyAction::None;
    if (key == vk::F(4)) return can(Command::Deactivate) ? KeyAction::Deactivate : KeyAction::None;
    if (key == vk::F(5))
        return can(Command::DeactivatePerm) ? KeyAction::DeactivatePerm : KeyAction::None;
    if (key == vk::F(6))
        return can(Command::Move) && !s.MoveMode ? KeyAction::StartMove : KeyAction::None;
    if (key == vk::F(7)) return can(Command::New) ? KeyAction::New : KeyAction::None;
    if (key == vk::F(8)) return can(Command::Kill) ? KeyAction::Kill : KeyAction::None;
    if (key == vk::F(12)) return KeyAction::Config;
    return KeyAction::None;
}

std::string KeyText(KeyAction action) {
    switch (action) {
        case KeyAction::Debug:
            return "Ctrl+D";
        case KeyAction::History:
            return "Ctrl+H";
        case KeyAction::DeviceNames:
            return "Ctrl+P";
        case KeyAction::Refresh:
            return "Ctrl+R";
        case KeyAction::CancelMove:
            return "Esc";
        case KeyAction::CompleteMove:
            return "Enter";
        case KeyAction::Info:
            return "Alt+Enter";
        case KeyAction::KeyboardHelp:
            return "Shift+F1";
        case KeyAction::Help:
            return "F1";
        case KeyAction::Rename:
            return "F2";
        case KeyAction::Fix:
            return "F3";
        case KeyAction::Deactivate:
            return "F4";
        case KeyAction::DeactivatePerm:
            return "F5";
        case KeyAction::Link:
            return "Ctrl+Shift+F5";
        case KeyAction::StartMove:
            return "F6";
        case KeyAction::New:
            return "F7";
        case KeyAction::Kill:
            return "F8";
        case KeyAction::Config:
            return "F12";
        case KeyAction::None:
        case KeyAction::Exit:
            break;
    }
    return "";
}

bool CommandOfAction(KeyAction action, Command& command) {
    static constexpr struct {
        KeyAction action;
        Command command;
    } kTable[] = {
        {KeyAction::New, Command::New},
        {KeyAction::StartMove, Command::Move},
        {KeyAction::CompleteMove, Command::Move},
        {KeyAction::CancelMove, Command::Move},  // with the move mode off it cancels
        {KeyAction::Kill, Command::Kill},
        {KeyAction::Fix, Command::Fix},
        {KeyAction::Deactivate, Command::Deactivate},
        {KeyAction::DeactivatePerm, Command::DeactivatePerm},
        {KeyAction::Rename, Command::Rename},
        {KeyAction::Link, Command::Link},
    };
    for (const auto& entry : kTable)
        if (entry.action == action) {
            command = entry.command;
            return true;
        }
    return false;
}

}  // namespace kelvra
