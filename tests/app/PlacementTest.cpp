#include "common/CWindowPlacement.h"

#include <gtest/gtest.h>

namespace {

using platform::ScreenRect;

std::array<int, 4> corners(const ScreenRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

TEST(Placement, CentresOverTheOwnerAndKeepsInsideTheWorkArea) {
    constexpr ScreenRect screen{0, 0, 1280, 1024}, left{-1280, 0, 0, 1024};
    // Name, the window's width and height, its owner, the work area, where the window goes.
    const std::vector<std::tuple<const char*, int, int, ScreenRect, ScreenRect, ScreenRect>> rows{
        {"OwnerOnScreen", 200, 100, {400, 300, 800, 700}, screen, {500, 450, 700, 550}},
        {"OddSizesUseIntegerHalves", 201, 101, {0, 0, 1001, 701}, screen, {400, 300, 601, 401}},
        {"PartlyOffTheLeft", 200, 100, {-300, 200, 100, 600}, screen, {0, 350, 200, 450}},
        {"PartlyOffTheTop", 200, 100, {500, -400, 900, 100}, screen, {600, 0, 800, 100}},
        {"PartlyOffTheRight", 200, 100, {1200, 300, 1600, 700}, screen, {1080, 450, 1280, 550}},
        {"PartlyOffTheBottom", 200, 100, {400, 900, 800, 1300}, screen, {500, 924, 700, 1024}},
        {"OverTheTaskbar", 200, 100, {0, 800, 400, 1100}, {0, 0, 1280, 984}, {100, 884, 300, 984}},
        // (-1001 + -500) / 2 is -750, not -751.
        {"TruncatesTowardZero", 200, 100, {-1001, 100, -500, 500}, left, {-850, 250, -650, 350}},
        {"TooWideKeepsTheLeftEdge", 1400, 100, screen, screen, {0, 462, 1400, 562}},
        {"TooWideEndingRight", 1400, 100, {700, 0, 1300, 1024}, screen, {-120, 462, 1280, 562}}};
    for (const auto& [name, width, height, owner, workArea, expected] : rows) {
        const ScreenRect window{37, 41, 37 + width, 41 + height};
        const auto placed = CWindowPlacement::Centre(window, owner, workArea);
        EXPECT_EQ(corners(placed), corners(expected)) << name;
    }
}

} // namespace
