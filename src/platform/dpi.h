// Lengths designed at 96 dots per inch, at the resolution of a screen.
#pragma once

#include <algorithm>
#include <climits>

namespace kelvra {

// a * b / c rounded to the nearest integer, halves away from zero, as MulDiv
// does; 0 for a zero divisor.
constexpr int MulDivRound(long long a, long long b, long long c) {
    if (c == 0) return 0;
    const long long n = a * b;
    return static_cast<int>(
        std::clamp<long long>((n >= 0 ? n + c / 2 : n - c / 2) / c, INT_MIN, INT_MAX));
}

constexpr int Scale96(int pixels, int dpi) {
    return MulDivRound(pixels, dpi, 96);
}

}  // namespace kelvra
