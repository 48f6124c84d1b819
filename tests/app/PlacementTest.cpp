#include "app/CMainDlg.h"
#include "app/ShellDriver.h"

#include "common/CWindowPlacement.h"
#include "support/Modal.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/Ui.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <ostream>

namespace platform {
void PrintTo(const ScreenRect& r, std::ostream* out) {
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
} // namespace platform

namespace {

using platform::ScreenRect;
using platform::Window;
using test::Modal;
using test::Ui;

constexpr ScreenRect screen{0, 0, 1280, 1024};

struct PlacementRow {
    const char* name;
    int width;
    int height;
    ScreenRect over;
    ScreenRect workArea;
    ScreenRect expected;
};

void PrintTo(const PlacementRow& row, std::ostream* out) {
    *out << row.name;
}

class Placement : public ::testing::TestWithParam<PlacementRow> {};

TEST_P(Placement, CentresOverTheRectangleAndKeepsInsideTheWorkArea) {
    const auto& row = GetParam();
    const ScreenRect window{37, 41, 37 + row.width, 41 + row.height}; // where it was made
    EXPECT_EQ(CWindowPlacement::Centre(window, row.over, row.workArea), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Owners, Placement,
    ::testing::Values(
        PlacementRow{"OwnerOnScreen", 200, 100, {400, 300, 800, 700}, screen, {500, 450, 700, 550}},
        PlacementRow{
            "OddSizesUseIntegerHalves", 201, 101, {0, 0, 1001, 701}, screen, {400, 300, 601, 401}},
        PlacementRow{"MainWindowInTheWorkArea", 180, 260, screen, screen, {550, 382, 730, 642}},
        PlacementRow{
            "OwnerPartlyOffTheLeft", 200, 100, {-300, 200, 100, 600}, screen, {0, 350, 200, 450}},
        PlacementRow{
            "OwnerPartlyOffTheTop", 200, 100, {500, -400, 900, 100}, screen, {600, 0, 800, 100}},
        PlacementRow{"OwnerPartlyOffTheRight",
                     200,
                     100,
                     {1200, 300, 1600, 700},
                     screen,
                     {1080, 450, 1280, 550}},
        PlacementRow{"OwnerPartlyOffTheBottom",
                     200,
                     100,
                     {400, 900, 800, 1300},
                     screen,
                     {500, 924, 700, 1024}},
        PlacementRow{"OwnerOffTheTopLeftCorner",
                     200,
                     100,
                     {-500, -500, -100, -100},
                     screen,
                     {0, 0, 200, 100}},
        PlacementRow{"OwnerOverTheTaskbar",
                     200,
                     100,
                     {0, 800, 400, 1100},
                     {0, 0, 1280, 984},
                     {100, 884, 300, 984}},
        // Halves truncate toward zero: (-1001 + -500) / 2 is -750, not -751.
        PlacementRow{"ScreenLeftOfThePrimary",
                     200,
                     100,
                     {-1001, 100, -500, 500},
                     {-1280, 0, 0, 1024},
                     {-850, 250, -650, 350}},
        // Wider than the work area: the left edge wins when the centred window starts left of it.
        PlacementRow{"TooWideCentred", 1400, 100, {0, 0, 1280, 1024}, screen, {0, 462, 1400, 562}},
        // Starting inside but ending right of the area, it is moved back to the right edge only.
        PlacementRow{
            "TooWideEndingRight", 1400, 100, {700, 0, 1300, 1024}, screen, {-120, 462, 1280, 562}}),
    [](const auto& row) { return std::string(row.param.name); });

struct IconRow {
    int client;
    int icon;
    int expected;
};

void PrintTo(const IconRow& row, std::ostream* out) {
    *out << row.client << " wide, icon " << row.icon;
}

class MinimizedIcon : public ::testing::TestWithParam<IconRow> {};

TEST_P(MinimizedIcon, OffsetIsHalfTheSpareRoomRoundedUpTruncatingTowardZero) {
    EXPECT_EQ(CMainDlg::IconOffset(GetParam().client, GetParam().icon), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MinimizedIcon,
                         ::testing::Values(IconRow{36, 32, 2}, IconRow{20, 32, -5},
                                           IconRow{32, 32, 0}, IconRow{33, 32, 1},
                                           IconRow{35, 32, 2}, IconRow{19, 32, -6},
                                           IconRow{0, 32, -15}, IconRow{1, 32, -15},
                                           IconRow{16, 16, 0}));

// The real windows: the main window in the primary work area, each dialog over the main window.
class WindowPlacement : public ::testing::Test {
  protected:
    test::ScriptedMessageBoxes m_boxes;
    CMainDlg m_main;
};

ScreenRect centredIn(const ScreenRect& window, const ScreenRect& area) {
    const int left = (area.left + area.right) / 2 - window.width() / 2;
    const int top = (area.top + area.bottom) / 2 - window.height() / 2;
    return {left, top, left + window.width(), top + window.height()};
}

// The window's frame is unknown until it is shown, so a window is placed by its client size and
// the frame then grows around the corner it was given: the rectangle as it was placed.
ScreenRect asPlaced(Window window) {
    const ScreenRect outer = window.rect();
    QWidget* widget = Ui::widget(window);
    return {outer.left, outer.top, outer.left + widget->width(), outer.top + widget->height()};
}

bool inside(const ScreenRect& window, const ScreenRect& area) {
    return window.left >= area.left && window.top >= area.top && window.right <= area.right &&
           window.bottom <= area.bottom;
}

TEST_F(WindowPlacement, MainWindowOpensCentredInThePrimaryWorkArea) {
    Modal::run(m_main, [](Window main) {
        EXPECT_EQ(asPlaced(main), centredIn(asPlaced(main), Window::primaryWorkArea()));
    });
}

TEST_F(WindowPlacement, EveryDialogOpensCentredOverTheMainWindow) {
    Modal::run(m_main, [](Window main) {
        for (Qt::Key key : {Qt::Key_S, Qt::Key_N, Qt::Key_F, Qt::Key_J, Qt::Key_A}) {
            Modal::whenOpens(
                [&] { Ui::key(main, key, Qt::AltModifier); },
                [&](Window dialog) {
                    EXPECT_EQ(asPlaced(dialog), centredIn(asPlaced(dialog), main.rect()))
                        << dialog.text();
                });
        }
    });
}

struct MovedRow {
    const char* name;
    int dx; // where the main window is moved, relative to the work area's corners
    int dy;
};

void PrintTo(const MovedRow& row, std::ostream* out) {
    *out << row.name;
}

class MainWindowMoved : public WindowPlacement, public ::testing::WithParamInterface<MovedRow> {};

TEST_P(MainWindowMoved, DialogsStayInsideTheWorkArea) {
    Modal::run(m_main, [&](Window main) {
        const ScreenRect area = Window::primaryWorkArea();
        const ScreenRect at = main.rect();
        const int left =
            GetParam().dx < 0 ? area.left + GetParam().dx : area.right - at.width() + GetParam().dx;
        const int top = GetParam().dy < 0 ? area.top + GetParam().dy
                                          : area.bottom - at.height() + GetParam().dy;
        main.move({left, top, left + at.width(), top + at.height()}, true);
        ASSERT_EQ(main.rect().left, left);
        for (Qt::Key key : {Qt::Key_S, Qt::Key_A}) {
            Modal::whenOpens([&] { Ui::key(main, key, Qt::AltModifier); },
                             [&](Window dialog) {
                                 const ScreenRect placed = asPlaced(dialog);
                                 EXPECT_TRUE(inside(placed, area)) << dialog.text();
                                 EXPECT_EQ(placed,
                                           CWindowPlacement::Centre(placed, main.rect(), area));
                             });
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Corners, MainWindowMoved,
                         ::testing::Values(MovedRow{"OffTopLeft", -150, -120},
                                           MovedRow{"OffBottomRight", 150, 120},
                                           MovedRow{"OffTopRight", 150, -120},
                                           MovedRow{"OffBottomLeft", -150, 120}),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
