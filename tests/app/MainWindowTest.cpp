#include "app/CMainDlg.h"

#include "platform/DialogCommand.h"
#include "platform/DialogHost.h"
#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"
#include "support/Modal.h"
#include "support/ScriptedServices.h"
#include "support/Ui.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

using platform::Window;
using test::Modal;
using test::Ui;
using Dlg = resources::DialogTemplates;
namespace ids = resources::ControlIds;

// A dialog is known by its caption, which no two templates share.
int templateIdOf(Window dialog) {
    for (int id : {Dlg::about, Dlg::mainWindow, Dlg::splitByNumber, Dlg::splitBySize, Dlg::join,
                   Dlg::floppySplit})
        if (Dlg::Find(id)->caption == dialog.text())
            return id;
    return 0;
}

// The resource numbers of the dialogs `action` opened; each is closed with Esc once seen, so an
// action that opens one returns.
std::vector<int> dialogsOpenedBy(const std::function<void()>& action) {
    std::vector<int> opened;
    std::vector<platform::WindowHandle> seen{platform::DialogHost::activeModal().handle()};
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        Window now = platform::DialogHost::activeModal();
        if (!now.isVisible() || std::ranges::find(seen, now.handle()) != seen.end())
            return;
        seen.push_back(now.handle());
        opened.push_back(templateIdOf(now));
        platform::DialogHost::sendCommand(now, platform::DialogCommand::cancel);
    });
    poll.start(5);
    action();
    QTest::qWait(30); // a dialog opened by a queued event shows within a few turns of the loop
    return opened;
}

constexpr int exits = 0, nothing = -1;

struct KeyPath {
    const char* name;
    int tabs; // Tab presses first; negative: Shift+Tab
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int opens; // a dialog's resource number, `exits` or `nothing`
};

// Nothing in the main window asks a question: an unscripted box fails the test.
TEST(MainWindow, KeysPressEveryButtonAndExitWithoutAQuestion) {
    const Qt::KeyboardModifiers alt = Qt::AltModifier, none = Qt::NoModifier;
    const Qt::Key enter = Qt::Key_Return;
    // clang-format off
    const std::vector<KeyPath> rows{
        {"AltS", 0, Qt::Key_S, alt, Dlg::splitBySize},     {"AltN", 0, Qt::Key_N, alt, Dlg::splitByNumber},
        {"AltF", 0, Qt::Key_F, alt, Dlg::floppySplit},     {"AltJ", 0, Qt::Key_J, alt, Dlg::join},
        {"AltA", 0, Qt::Key_A, alt, Dlg::about},           {"AltX", 0, Qt::Key_X, alt, exits},
        {"PlainXOnAButton", 0, Qt::Key_X, none, exits},    {"AltOfNoButton", 0, Qt::Key_B, alt, nothing},
        {"Esc", 0, Qt::Key_Escape, none, exits},           {"Enter", 0, enter, none, Dlg::splitBySize},
        {"TabEnter", 1, enter, none, Dlg::splitByNumber},  {"Tab2Enter", 2, enter, none, Dlg::floppySplit},
        {"Tab3Enter", 3, enter, none, Dlg::join},          {"Tab4Enter", 4, enter, none, Dlg::about},
        {"Tab5Enter", 5, enter, none, exits},              {"ShiftTabWrapsToExit", -1, enter, none, exits},
        {"ShiftTab2Enter", -2, enter, none, Dlg::about}};
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::ScriptedMessageBoxes boxes;
        CMainDlg main;
        Modal::run(main, [&](Window window) {
            const auto opened = dialogsOpenedBy([&] {
                for (int tab = 0; tab < std::abs(row.tabs); ++tab)
                    Ui::key(window, row.tabs > 0 ? Qt::Key_Tab : Qt::Key_Backtab,
                            row.tabs > 0 ? Qt::NoModifier : Qt::ShiftModifier);
                Ui::key(window, row.key, row.modifiers);
            });
            EXPECT_EQ(opened, row.opens > 0 ? std::vector{row.opens} : std::vector<int>{});
            EXPECT_EQ(window.isVisible(), row.opens != exits);
        });
    }
}

// Alt+Space opens the main window's own system menu, whose last entry is About. Every system
// command whose identifier AND 0xFFF0 is About's shows the About box.
TEST(MainWindow, SystemMenuAndSystemCommands) {
    std::vector<std::string> entries;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || !entries.empty())
            return;
        for (QAction* action : menu->actions())
            entries.push_back(action->isSeparator() ? "----" : action->text().toStdString());
        QTest::keyClick(menu, Qt::Key_A);
    });
    poll.start(5);
    constexpr unsigned aboutId = CMainDlg::aboutCommand;
    const std::pair<unsigned, bool> commands[]{
        {aboutId, true}, {aboutId | 0xF, true}, {aboutId + 0x10, false}};
    CMainDlg main;
    Modal::run(main, [&](Window window) {
        EXPECT_EQ(dialogsOpenedBy([&] { Ui::key(window, Qt::Key_Space, Qt::AltModifier); }),
                  std::vector<int>{Dlg::about});
        for (const auto& [id, about] : commands) {
            EXPECT_EQ(dialogsOpenedBy([&] { platform::DialogHost::sendSysCommand(window, id); }),
                      about ? std::vector<int>{Dlg::about} : std::vector<int>{})
                << id;
        }
        EXPECT_TRUE(window.isVisible());
    });
    EXPECT_EQ(entries,
              (std::vector<std::string>{"Mi&nimize", "&Close", "----", "&About Sundrel..."}));
}

// Clicks and keys go through the window system, which keeps them from a window under a modal one.
TEST(MainWindow, TakesNoInputWhileADialogIsUp) {
    CMainDlg main;
    Modal::run(main, [&](Window window) {
        QWindow* desktop = Ui::widget(window)->windowHandle();
        const auto click = [&](int id) {
            QWidget* button = Ui::control(window, id);
            const QPoint centre = button->mapTo(button->window(), button->rect().center());
            QTest::mouseClick(desktop, Qt::LeftButton, Qt::NoModifier, centre);
        };
        Modal::whenOpens([&] { Ui::key(window, Qt::Key_J, Qt::AltModifier); },
                         [&](Window join) {
                             EXPECT_TRUE(dialogsOpenedBy([&] {
                                             click(ids::MainWindow::splitByNumber);
                                             click(ids::MainWindow::exit);
                                             QTest::keyClick(desktop, Qt::Key_A, Qt::AltModifier);
                                             QTest::keyClick(desktop, Qt::Key_Escape);
                                         }).empty());
                             EXPECT_TRUE(window.isVisible());
                             EXPECT_TRUE(join.isVisible());
                         });
        EXPECT_EQ(dialogsOpenedBy([&] { click(ids::MainWindow::about); }),
                  std::vector<int>{Dlg::about});
    });
}

TEST(MainWindow, DialogsKeepWhatDoneStoredButNotWhatEscLeft) {
    const std::tuple<const char*, Qt::Key, std::vector<int>> rows[]{
        {"SplitByNumber", Qt::Key_N, {ids::Split::path, ids::Split::segmentCount}},
        {"SplitBySize", Qt::Key_S, {ids::Split::path, ids::Split::segmentSize}},
        {"Join", Qt::Key_J, {ids::Join::firstSegment}},
        {"Floppies", Qt::Key_F, {ids::FloppySplit::path}}};
    CMainDlg main;
    Modal::run(main, [&](Window window) {
        for (const auto& [name, open, fields] : rows) {
            SCOPED_TRACE(name);
            const auto inDialog = [&](const std::function<void(Window)>& body) {
                Modal::whenOpens([&] { Ui::key(window, open, Qt::AltModifier); }, body);
            };
            for (auto [text, close] : {std::pair{"7", Qt::Key_D}, std::pair{"9", Qt::Key_Escape}})
                inDialog([&](Window dialog) {
                    for (int id : fields)
                        Ui::type(dialog, id, text);
                    Ui::key(dialog, close, close == Qt::Key_D ? Qt::AltModifier : Qt::NoModifier);
                    EXPECT_FALSE(dialog.isVisible());
                });
            inDialog([&](Window dialog) {
                for (int id : fields)
                    EXPECT_EQ(Ui::text(dialog, id), "7") << id;
            });
        }
    });
}

} // namespace
