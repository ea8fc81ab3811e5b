// Lengths designed at 96 dots per inch, at the resolution of a screen.
#pragma once

#include <algorithm>
#include <climits>

namespace kelvra {

// Rounded to the nearest pixel, halves away from zero, as MulDiv does.
constexpr int Scale96(int pixels, int dpi) {
    const long long n = static_cast<long long>(pixels) * dpi;
    return static_cast<int>(
        std::clamp<long long>((n >= 0 ? n + 48 : n - 48) / 96, INT_MIN, INT_MAX));
}

}  // namespace kelvra
