#include "app/CMainDlg.h"
#include "app/ShellDriver.h"

#include "platform/DialogHost.h"
#include "support/Modal.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/Ui.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <ostream>

namespace {

using platform::Window;
using test::Modal;
using test::ShellDriver;
using test::Ui;

constexpr int aboutBox = 100;

class SystemMenu : public ::testing::Test {
  protected:
    test::ScriptedMessageBoxes m_boxes;
    CMainDlg m_main;
};

struct MenuEntry {
    std::string text;
    bool separator = false;
    bool operator==(const MenuEntry&) const = default;
};

void PrintTo(const MenuEntry& entry, std::ostream* out) {
    *out << (entry.separator ? std::string("----") : '"' + entry.text + '"');
}

// Opens the menu with `open` and, while it is up, records its entries and presses `key` in it.
std::vector<MenuEntry> inMenu(const std::function<void()>& open, Qt::Key key) {
    std::vector<MenuEntry> entries;
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || seen)
            return;
        seen = true;
        for (QAction* action : menu->actions())
            entries.push_back({action->text().toStdString(), action->isSeparator()});
        QTest::keyClick(menu, key);
    });
    poll.start(5);
    open();
    QTest::qWait(30);
    EXPECT_TRUE(seen) << "no menu opened";
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    return entries;
}

const std::vector<MenuEntry> fullMenu{{"Mi&nimize"}, {"&Close"}, {"", true}, {"&About Sundrel..."}};

TEST_F(SystemMenu, AltSpaceOpensItAndItsLastEntryShowsTheAboutBox) {
    Modal::run(m_main, [&](Window main) {
        std::vector<MenuEntry> entries;
        const auto opened = ShellDriver::dialogsOpenedBy([&] {
            entries = inMenu([&] { Ui::key(main, Qt::Key_Space, Qt::AltModifier); }, Qt::Key_A);
        });
        EXPECT_EQ(entries, fullMenu);
        EXPECT_EQ(opened, std::vector<int>{aboutBox});
        EXPECT_TRUE(main.isVisible());
    });
}

TEST_F(SystemMenu, AltSpaceWithTheFocusOnAnyButtonPressesNoButton) {
    Modal::run(m_main, [&](Window main) {
        for (int tabs = 0; tabs < 6; ++tabs) {
            const int focused = ShellDriver::focusedId(main);
            const auto opened = ShellDriver::dialogsOpenedBy([&] {
                inMenu([&] { Ui::key(main, Qt::Key_Space, Qt::AltModifier); }, Qt::Key_Escape);
            });
            EXPECT_TRUE(opened.empty()) << "Alt+Space pressed button " << focused;
            EXPECT_TRUE(main.isVisible()) << "Alt+Space pressed button " << focused;
            Ui::key(main, Qt::Key_Tab);
        }
    });
}

struct RightClick {
    const char* name;
    platform::DialogUnitRect at; // where, in the main window's dialog units
    bool opensMenu;
};

void PrintTo(const RightClick& row, std::ostream* out) {
    *out << row.name;
}

class SystemMenuRightClick : public SystemMenu, public ::testing::WithParamInterface<RightClick> {};

TEST_P(SystemMenuRightClick, OpensTheMenuOnTheBackgroundOnly) {
    Modal::run(m_main, [&](Window main) {
        const platform::ScreenRect at = main.mapDialogRect(GetParam().at);
        const QPoint point(at.left, at.top);
        if (!GetParam().opensMenu) {
            bool menuSeen = false;
            QTimer::singleShot(100, [&] {
                if (QWidget* popup = QApplication::activePopupWidget()) {
                    menuSeen = true;
                    popup->close();
                }
            });
            EXPECT_TRUE(ShellDriver::dialogsOpenedBy([&] {
                            ShellDriver::clickAt(main, point, Qt::RightButton);
                            QTest::qWait(150);
                        }).empty());
            EXPECT_FALSE(menuSeen);
            return;
        }
        std::vector<MenuEntry> entries;
        const auto opened = ShellDriver::dialogsOpenedBy([&] {
            entries =
                inMenu([&] { ShellDriver::clickAt(main, point, Qt::RightButton); }, Qt::Key_A);
        });
        EXPECT_EQ(entries, fullMenu);
        EXPECT_EQ(opened, std::vector<int>{aboutBox});
    });
}

INSTANTIATE_TEST_SUITE_P(
    Where, SystemMenuRightClick,
    ::testing::Values(RightClick{"BareMargin", {2, 2, 1, 1}, true},
                      RightClick{"InsideAGroupBoxBesideTheButtons", {10, 40, 1, 1}, true},
                      RightClick{"BelowTheLastGroupBox", {50, 152, 1, 1}, true},
                      RightClick{"OnAButton", {50, 40, 1, 1}, false}),
    [](const auto& row) { return std::string(row.param.name); });

struct SysCommand {
    const char* name;
    unsigned id;
    bool showsAbout;
};

void PrintTo(const SysCommand& row, std::ostream* out) {
    *out << row.name;
}

class SystemCommands : public SystemMenu, public ::testing::WithParamInterface<SysCommand> {};

// Only the identifier with its low four bits cleared counts: 0x10 to 0x1F are About.
TEST_P(SystemCommands, ShowTheAboutBoxExactlyWhenTheirIdentifierIsSixteenToThirtyOne) {
    Modal::run(m_main, [&](Window main) {
        const auto opened = ShellDriver::dialogsOpenedBy(
            [&] { platform::DialogHost::sendSysCommand(main, GetParam().id); });
        EXPECT_EQ(opened, GetParam().showsAbout ? std::vector<int>{aboutBox} : std::vector<int>{});
        EXPECT_TRUE(main.isVisible());
    });
}

INSTANTIATE_TEST_SUITE_P(
    Identifiers, SystemCommands,
    ::testing::Values(SysCommand{"About", 0x10, true}, SysCommand{"AboutLowBitsSet", 0x1F, true},
                      SysCommand{"AboutSomeLowBits", 0x13, true},
                      SysCommand{"NextBlock", 0x20, false}, SysCommand{"BelowAbout", 0x0F, false},
                      SysCommand{"Zero", 0x00, false}, SysCommand{"Move", 0xF010, false},
                      SysCommand{"Restore", 0xF120, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SystemMenu, MinimizeMinimizesTheMainWindowWithoutEndingIt) {
    Modal::run(m_main, [&](Window main) {
        EXPECT_TRUE(ShellDriver::dialogsOpenedBy([&] {
                        inMenu([&] { Ui::key(main, Qt::Key_Space, Qt::AltModifier); }, Qt::Key_N);
                    }).empty());
        EXPECT_TRUE(main.isMinimized());
        EXPECT_TRUE(main.isVisible());
        Ui::widget(main)->showNormal();
    });
}

TEST_F(SystemMenu, CloseEndsTheMainWindow) {
    const int result = Modal::run(m_main, [&](Window main) {
        inMenu([&] { Ui::key(main, Qt::Key_Space, Qt::AltModifier); }, Qt::Key_C);
        EXPECT_FALSE(main.isVisible());
    });
    EXPECT_EQ(result, 2);
}

} // namespace
