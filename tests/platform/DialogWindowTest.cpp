#include "platform/AnimationWidget.h"
#include "platform/AviClip.h"
#include "platform/DialogCommand.h"
#include "platform/DialogHost.h"
#include "platform/ProgressBar.h"
#include "platform/UpDown.h"
#include "platform/WindowRegistry.h"
#include "resources/BinaryResources.h"
#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"

#include <QLocale>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using platform::DialogCommand;
using platform::DialogHost;
using platform::Window;
using resources::DialogTemplates;
namespace Split = resources::ControlIds::Split;
namespace FloppySplit = resources::ControlIds::FloppySplit;

// Records what a dialog reports (F1 as -1) while the body runs inside its modal loop.
struct Recorder final : platform::DialogEvents {
    std::vector<int> commands;
    std::function<void(Window)> body;

    bool onInitDialog(Window dialog) override {
        QTimer::singleShot(0, [this, dialog] {
            body(dialog);
            DialogHost::endModal(dialog, 99);
        });
        return true;
    }
    void onCommand(int id) override { commands.push_back(id); }
    void onSysCommand(unsigned) override {}
    void onHelpKey() override { commands.push_back(-1); }
};

QWidget* widget(Window window) {
    return platform::WindowRegistry::widget(window.handle());
}

std::function<void(Window)> key(int id, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    return [=](Window w) {
        widget(w.child(id))->setFocus();
        QTest::keyClick(widget(w.child(id)), key, modifiers);
    };
}

std::vector<int> commandsFrom(int templateId, const std::function<void(Window)>& body) {
    Recorder recorder;
    recorder.body = body;
    EXPECT_EQ(DialogHost::runModal(*DialogTemplates::Find(templateId), recorder), 99);
    return recorder.commands;
}

TEST(DialogKeys, EnterEscCloseBoxF1AndMnemonicsBecomeCommands) {
    const auto closeBox = [](Window w) { widget(w)->close(); };
    const struct {
        const char* name;
        std::function<void(Window)> act;
        std::vector<int> expected;
    } rows[] = {
        {"Enter in an edit field is OK", key(Split::path, Qt::Key_Return), {DialogCommand::ok}},
        {"Enter on a button presses it", key(Split::split, Qt::Key_Return), {Split::split}},
        {"Esc is Cancel", key(Split::path, Qt::Key_Escape), {DialogCommand::cancel}},
        {"the close box is Cancel", closeBox, {DialogCommand::cancel}},
        {"F1 asks for help", key(Split::path, Qt::Key_F1), {-1}},
        {"Shift+F1 does nothing", key(Split::path, Qt::Key_F1, Qt::ShiftModifier), {}},
        {"Alt and a mnemonic", key(Split::path, Qt::Key_F, Qt::AltModifier), {Split::split}},
        {"a letter in an edit field is typed", key(Split::path, Qt::Key_F), {}},
        {"a mnemonic letter on a button", key(Split::browse, Qt::Key_D), {DialogCommand::ok}},
        {"a busy dialog takes no command",
         [&](Window w) {
             DialogHost::setBusy(w, true);
             closeBox(w);
             key(Split::path, Qt::Key_Escape)(w);
             DialogHost::setBusy(w, false);
         },
         {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(commandsFrom(DialogTemplates::splitByNumber, row.act), row.expected) << row.name;
}

TEST(ProgressBar, SitsWhereItsDialogUnitsSayAndSteppingPastTheTopStartsOver) {
    commandsFrom(DialogTemplates::splitByNumber, [](Window w) {
        EXPECT_EQ(w.child(Split::progress).rect().width(),
                  w.mapDialogRect({14, 81, 250, 13}).width());
        platform::ProgressBar bar(w.child(Split::progress));
        bar.setRange(0, 3);
        bar.setStep(4);
        bar.stepIt();
        EXPECT_EQ(bar.position(), 1);
        bar.setPosition(3);
        bar.setRange(0, 0); // how a full bar is emptied
        bar.setRange(0, 5);
        EXPECT_EQ(bar.position(), 0);
    });
}

// Not centred, the animation control takes its clip's size where the dialog put it: the whole
// clip inside the border, no row cut off and no band beside it.
TEST(AnimationControl, ShowsTheWholeClipAtItsOwnSize) {
    commandsFrom(DialogTemplates::floppySplit, [](Window w) {
        auto* control = platform::WindowRegistry::widgetAs<platform::AnimationWidget>(
            w.child(FloppySplit::animation).handle());
        ASSERT_NE(control, nullptr);
        const QPoint place = control->pos();
        const auto bytes =
            resources::BinaryResources::clip(resources::BinaryResources::copyAnimationClip);
        ASSERT_TRUE(control->open(bytes));
        ASSERT_TRUE(control->play(5, 5, 0));
        EXPECT_EQ(control->geometry(), QRect(place, QSize(262, 42)));
        EXPECT_TRUE(widget(w)->rect().contains(control->geometry()));
        const QImage shown = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage frame =
            platform::AviClip::parse(bytes)->frame(5).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown.copy(1, 1, 260, 40), frame);
    });
}

// The label's mnemonic focuses the field after it; the arrows start from the field's text, hold
// at the ends and write the group separator.
TEST(UpDown, LabelMnemonicFocusesTheFieldWhoseArrowsStepWithinTheRange) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    commandsFrom(DialogTemplates::splitByNumber, [](Window w) {
        platform::UpDown arrows(w.child(Split::arrows));
        arrows.setRange(2, 1000);
        EXPECT_EQ(arrows.buddy().handle(), w.child(Split::segmentCount).handle());
        key(Split::path, Qt::Key_E, Qt::AltModifier)(w);
        QWidget* focused = widget(w)->focusWidget();
        ASSERT_EQ(focused, widget(w.child(Split::segmentCount)));
        w.child(Split::segmentCount).setText("999");
        QTest::keyClick(focused, Qt::Key_Up);
        QTest::keyClick(focused, Qt::Key_Up);
        EXPECT_EQ(w.child(Split::segmentCount).text(), "1,000");
        w.child(Split::segmentCount)
            .setText("junk"); // unreadable: the last position is the starting point
        arrows.step(-1);
        EXPECT_EQ(w.child(Split::segmentCount).text(), "999");
        w.child(Split::segmentCount).setText("-40");
        QTest::keyClick(focused, Qt::Key_Down);
        EXPECT_EQ(w.child(Split::segmentCount).text(), "2");
    });
    QLocale::setDefault(QLocale::c());
}

} // namespace
