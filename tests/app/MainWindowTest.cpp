#include "app/CMainDlg.h"

#include "platform/gui/DialogCommand.h"
#include "platform/gui/DialogHost.h"
#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"
#include "support/Modal.h"
#include "support/RowName.h"
#include "support/ScriptedServices.h"
#include "support/Ui.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using platform::Window;
using test::Modal;
using test::Ui;
using Dlg = resources::DialogTemplates;
namespace ids = resources::ControlIds;

// The captions of the dialogs `action` opened (no two templates share one); each is closed with
// Esc once seen, so an action that opens one returns.
std::vector<std::string> dialogsOpenedBy(const std::function<void()>& action) {
    std::vector<std::string> opened;
    std::vector<platform::WindowHandle> seen{platform::DialogHost::activeModal().handle()};
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        Window now = platform::DialogHost::activeModal();
        if (!now.isVisible() || std::ranges::find(seen, now.handle()) != seen.end())
            return;
        seen.push_back(now.handle());
        opened.push_back(now.text());
        platform::DialogHost::sendCommand(now, platform::DialogCommand::cancel);
    });
    poll.start(5);
    action();
    QTest::qWait(30); // a dialog opened by a queued event shows within a few turns of the loop
    return opened;
}

std::vector<std::string> captionOf(int dialog) {
    return {Dlg::Find(dialog)->caption};
}

constexpr int exits = 0, nothing = -1;
constexpr Qt::KeyboardModifiers alt = Qt::AltModifier, none = Qt::NoModifier;

struct KeyPath {
    const char* name;
    int tabs; // Tab presses first; negative: Shift+Tab
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int opens; // a dialog's resource number, `exits` or `nothing`
};

class MainWindowKeys : public testing::TestWithParam<KeyPath> {};

// Nothing in the main window asks a question: an unscripted box fails the test.
TEST_P(MainWindowKeys, PressAButtonOrExitWithoutAQuestion) {
    const KeyPath& row = GetParam();
    test::ScriptedMessageBoxes boxes;
    CMainDlg main;
    Modal::run(main, [&](Window window) {
        const auto opened = dialogsOpenedBy([&] {
            for (int tab = 0; tab < std::abs(row.tabs); ++tab)
                Ui::key(window, row.tabs > 0 ? Qt::Key_Tab : Qt::Key_Backtab,
                        row.tabs > 0 ? Qt::NoModifier : Qt::ShiftModifier);
            Ui::key(window, row.key, row.modifiers);
        });
        EXPECT_EQ(opened, row.opens > 0 ? captionOf(row.opens) : std::vector<std::string>{});
        EXPECT_EQ(window.isVisible(), row.opens != exits);
    });
}

// clang-format off
// The mnemonics that open each dialog and Exit are walked under a real X server; Esc ends the
// main window, which has no parent to return to.
INSTANTIATE_TEST_SUITE_P(Rows, MainWindowKeys, testing::Values(
    KeyPath{"AltOfNoButton", 0, Qt::Key_B, alt, nothing},
    KeyPath{"Esc", 0, Qt::Key_Escape, none, exits},
    KeyPath{"Enter", 0, Qt::Key_Return, none, Dlg::splitBySize},
    KeyPath{"TabEnter", 1, Qt::Key_Return, none, Dlg::splitByNumber},
    KeyPath{"Tab2Enter", 2, Qt::Key_Return, none, Dlg::floppySplit},
    KeyPath{"Tab3Enter", 3, Qt::Key_Return, none, Dlg::join},
    KeyPath{"Tab4Enter", 4, Qt::Key_Return, none, Dlg::about},
    KeyPath{"Tab5Enter", 5, Qt::Key_Return, none, exits},
    KeyPath{"ShiftTabWrapsToExit", -1, Qt::Key_Return, none, exits}),
    test::rowName);
// clang-format on

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
                  captionOf(Dlg::about));
        for (const auto& [id, about] : commands) {
            EXPECT_EQ(dialogsOpenedBy([&] { platform::DialogHost::sendSysCommand(window, id); }),
                      about ? captionOf(Dlg::about) : std::vector<std::string>{})
                << id;
        }
        EXPECT_TRUE(window.isVisible());
    });
    EXPECT_EQ(entries,
              (std::vector<std::string>{"Mi&nimize", "&Close", "----", "&About Sundrel..."}));
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
