#include "common/CWindowPlacement.h"

#include "support/RowName.h"

#include <gtest/gtest.h>

namespace {

using platform::ScreenRect;

std::array<int, 4> corners(const ScreenRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

struct Row {
    const char* name;
    int width, height;
    ScreenRect owner, workArea, placed;
};

class Placement : public testing::TestWithParam<Row> {};

TEST_P(Placement, CentresOverTheOwnerAndKeepsInsideTheWorkArea) {
    const Row& row = GetParam();
    const ScreenRect window{37, 41, 37 + row.width, 41 + row.height};
    const auto placed = CWindowPlacement::Centre(window, row.owner, row.workArea);
    EXPECT_EQ(corners(placed), corners(row.placed));
}

constexpr ScreenRect screen{0, 0, 1280, 1024}, left{-1280, 0, 0, 1024};

INSTANTIATE_TEST_SUITE_P(
    Rows, Placement,
    testing::Values(
        Row{"OwnerOnScreen", 200, 100, {400, 300, 800, 700}, screen, {500, 450, 700, 550}},
        Row{"OddSizesUseIntegerHalves", 201, 101, {0, 0, 1001, 701}, screen, {400, 300, 601, 401}},
        Row{"PartlyOffTheLeft", 200, 100, {-300, 200, 100, 600}, screen, {0, 350, 200, 450}},
        Row{"PartlyOffTheTop", 200, 100, {500, -400, 900, 100}, screen, {600, 0, 800, 100}},
        Row{"PartlyOffTheRight", 200, 100, {1200, 300, 1600, 700}, screen, {1080, 450, 1280, 550}},
        Row{"PartlyOffTheBottom", 200, 100, {400, 900, 800, 1300}, screen, {500, 924, 700, 1024}},
        Row{"OverTheTaskbar",
            200,
            100,
            {0, 800, 400, 1100},
            {0, 0, 1280, 984},
            {100, 884, 300, 984}},
        // (-1001 + -500) / 2 is -750, not -751.
        Row{"TruncatesTowardZero", 200, 100, {-1001, 100, -500, 500}, left, {-850, 250, -650, 350}},
        Row{"TooWideKeepsTheLeftEdge", 1400, 100, screen, screen, {0, 462, 1400, 562}},
        Row{"TooWideEndingRight", 1400, 100, {700, 0, 1300, 1024}, screen, {-120, 462, 1280, 562}}),
    test::rowName);

} // namespace
