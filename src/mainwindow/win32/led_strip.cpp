#include "mainwindow/win32/led_strip.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "mainwindow/layout.h"
#include "mainwindow/win32/drive_list.h"
#include "mainwindow/win32/main_ids.h"

namespace kelvra {
namespace {

struct Rgb {
    double r, g, b;
};

Rgb LedColour(Led led) {
    switch (led) {
        case Led::Grey:
            return {150, 150, 150};
        case Led::Red:
            return {225, 30, 30};
        case Led::Green:
            return {30, 185, 40};
        case Led::Cyan:
            return {0, 190, 215};
        case Led::Blue:
            return {40, 80, 240};
        case Led::Yellow:
            return {240, 215, 0};
    }
    return {150, 150, 150};
}

}  // namespace

HICON CreateLedIcon(Led led, int size) {
    size = std::max(size, 4);
    BITMAPV5HEADER header = {};
    header.bV5Size = sizeof header;
    header.bV5Width = size;
    header.bV5Height = -size;  // top-down
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    win32::UniqueBitmap colour(CreateDIBSection(win32::WindowDc(nullptr).get(),
                                                reinterpret_cast<BITMAPINFO*>(&header),
                                                DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colour || !bits) return nullptr;

    // A disc with a darker rim and a highlight towards the upper left,
    // anti-aliased at its edge; premultiplied alpha.
    const Rgb base = LedColour(led);
    const double c = size / 2.0;
    const double radius = size / 2.0 - 0.75;
    const double rim = std::max(1.0, size / 12.0);
    auto* pixel = static_cast<uint32_t*>(bits);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - c, dy = y + 0.5 - c;
            const double d = std::sqrt(dx * dx + dy * dy);
            const double alpha = std::clamp(radius - d + 0.5, 0.0, 1.0);
            Rgb p = base;
            if (d > radius - rim) {
                p = {base.r * 0.55, base.g * 0.55, base.b * 0.55};
            } else {
                const double hx = dx + radius / 3, hy = dy + radius / 3;
                const double h = std::max(0.0, 1.0 - std::sqrt(hx * hx + hy * hy) / (radius * 0.9));
                p = {base.r + (255 - base.r) * h * 0.75, base.g + (255 - base.g) * h * 0.75,
                     base.b + (255 - base.b) * h * 0.75};
            }
            auto channel = [&](double v) {
                return static_cast<uint32_t>(std::clamp(v * alpha, 0.0, 255.0) + 0.5);
            };
            pixel[y * size + x] = (static_cast<uint32_t>(alpha * 255 + 0.5) << 24) |
                                  (channel(p.r) << 16) | (channel(p.g) << 8) | channel(p.b);
        }
    }
    // The alpha channel decides; an all-zero mask keeps old systems from
    // drawing garbage around the disc.
    const std::vector<uint8_t> zeros(static_cast<std::size_t>((size + 15) / 16 * 2 * size), 0);
    win32::UniqueBitmap mask(CreateBitmap(size, size, 1, 1, zeros.data()));
    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmColor = colour.get();
    info.hbmMask = mask.get();
    return CreateIconIndirect(&info);
}

void LedStrip::Register() {
    Window::Register(kLedClassName, MAKEINTRESOURCEW(32512));  // IDC_ARROW
}

void LedStrip::Create(HWND parent, const DriveList& list) {
    list_ = &list;
    Window::Create(0, kLedClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 16, 100, parent);
}

void LedStrip::CreateIcons(int dpi) {
    dpi_ = dpi;
    const int size = LedSize(dpi);
    for (int i = 0; i < static_cast<int>(ledIcons_.size()); ++i)
        ledIcons_[i].Reset(CreateLedIcon(static_cast<Led>(i), size));
}

void LedStrip::FollowTop(int top) {
    if (top == ledTopIndex_) return;
    ledTopIndex_ = top;
    Invalidate();
}

LRESULT LedStrip::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return Default(message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    Paint(dc);
    EndPaint(hwnd_, &ps);
    return 0;
}

// One LED beside each row, centred on the row as the list shows it now.
void LedStrip::Paint(HDC dc) {
    RECT stripRect;
    GetWindowRect(hwnd_, &stripRect);
    const HWND list = list_->hwnd();
    // Rows scrolled off the top lie under the header: no LED beside it.
    const int top = list_->TopIndex();
    for (int i = std::max(0, top); i < kDriveCount; ++i) {
        RECT item = {};
        item.left = LVIR_BOUNDS;
        if (!SendMessageW(list, LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item))) continue;
        const int size = LedSizeInRow(item.bottom - item.top, dpi_);
        POINT at = {0, (item.top + item.bottom - size) / 2};
        ClientToScreen(list, &at);
        const int y = at.y - stripRect.top;
        if (y + size < 0 || y > stripRect.bottom - stripRect.top) continue;
        const int image = static_cast<int>(list_->Row(i + 1).led);
        if (image >= 0 && image < static_cast<int>(ledIcons_.size()))
            DrawIconEx(dc, 0, y, ledIcons_[image].get(), size, size, 0, nullptr, DI_NORMAL);
    }
}

}  // namespace kelvra
