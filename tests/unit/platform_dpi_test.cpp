#include <gtest/gtest.h>

#include <climits>

#include "platform/dpi.h"

namespace kelvra {
namespace {

// Rounding as MulDiv does it: to the nearest pixel, halves away from zero,
// the same on both sides of zero (negative lengths are font heights).
TEST(Scale96, RoundsToTheNearestPixelAndHalvesAwayFromZero) {
    struct Case {
        int pixels, dpi, expected;
    };
    const Case cases[] = {
        {8, 96, 8},      {8, 144, 12},  {13, 144, 20}, {-13, 144, -20}, {1, 120, 1},
        {3, 120, 4},     {-3, 120, -4}, {2, 120, 3},   {0, 192, 0},     {25, 168, 44},
        {104, 192, 208}, {7, 72, 5},    {-7, 72, -5},  {5, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Scale96(c.pixels, c.dpi), c.expected) << c.pixels << " at " << c.dpi;
}

TEST(Scale96, HugeLengthsStopAtTheEndsOfInt) {
    EXPECT_EQ(Scale96(INT_MAX, 960), INT_MAX);
    EXPECT_EQ(Scale96(INT_MIN, 960), INT_MIN);
    EXPECT_EQ(Scale96(INT_MAX, 96), INT_MAX);
}

}  // namespace
}  // namespace kelvra
