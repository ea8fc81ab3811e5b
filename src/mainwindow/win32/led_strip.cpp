#include "mainwindow/win32/led_images.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

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
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
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
    HBITMAP mask = CreateBitmap(size, size, 1, 1, zeros.data());
    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmColor = colour;
    info.hbmMask = mask;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colour);
    if (mask) DeleteObject(mask);
    return icon;
}

}  // namespace kelvra
