#include "platform/codecs/AviClip.h"
#include "platform/gui/AccessibleNames.h"
#include "platform/gui/Animation.h"
#include "platform/gui/AnimationWidget.h"
#include "platform/gui/DialogCommand.h"
#include "platform/gui/DialogHost.h"
#include "platform/gui/ProgressBar.h"
#include "platform/gui/UpDown.h"
#include "platform/gui/WindowRegistry.h"
#include "resources/BinaryResources.h"
#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"
#include "support/RowName.h"

#include <QAbstractButton>
#include <QAccessible>
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

// Records the commands a dialog reports while the body runs inside its modal loop.
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
    void onHelpKey() override {}
};

QWidget* widget(Window window) {
    return platform::WindowRegistry::widget(window.handle());
}

std::vector<int> commandsFrom(int templateId, const std::function<void(Window)>& body) {
    Recorder recorder;
    recorder.body = body;
    EXPECT_EQ(DialogHost::runModal(*DialogTemplates::Find(templateId), recorder), 99);
    return recorder.commands;
}

struct KeyRow {
    const char* name;
    std::function<void(Window)> act;
    std::vector<int> expected;
};

class DialogKeys : public testing::TestWithParam<KeyRow> {};

TEST_P(DialogKeys, BecomeCommands) {
    EXPECT_EQ(commandsFrom(DialogTemplates::splitByNumber, GetParam().act), GetParam().expected);
}

std::function<void(Window)> key(int id, Qt::Key key) {
    return [id, key](Window w) {
        widget(w.child(id))->setFocus();
        QTest::keyClick(widget(w.child(id)), key);
    };
}

// Keys that no other test presses without a privilege; the main window's, the operations' and
// the end-to-end walks press the rest.
INSTANTIATE_TEST_SUITE_P(
    Rows, DialogKeys,
    testing::Values(
        KeyRow{"EnterInAnEditFieldIsOk", key(Split::path, Qt::Key_Return), {DialogCommand::ok}},
        KeyRow{"CloseBoxIsCancel", [](Window w) { widget(w)->close(); }, {DialogCommand::cancel}},
        KeyRow{"AMnemonicLetterOnAButton", key(Split::browse, Qt::Key_D), {DialogCommand::ok}},
        KeyRow{"ABusyDialogTakesNoCommand",
               [](Window w) {
                   DialogHost::setBusy(w, true);
                   widget(w)->close();
                   key(Split::path, Qt::Key_Escape)(w);
                   DialogHost::setBusy(w, false);
               },
               {}},
        KeyRow{"AButtonUnderAModalDialogTakesNoPress",
               [](Window w) {
                   commandsFrom(DialogTemplates::about, [w](Window) {
                       static_cast<QAbstractButton*>(widget(w.child(Split::split)))->click();
                   });
               },
               {}}),
    test::rowName);

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

// What a screen reader is told about a control, as the toolkit hands it to the accessibility bus.
QAccessibleInterface* accessible(Window control) {
    return QAccessible::queryAccessibleInterface(widget(control));
}

// Not centred, the animation control takes its clip's size where the dialog put it: the whole
// clip inside the border, no row cut off and no band beside it. A screen reader hears it as
// animated only while it plays.
TEST(AnimationControl, ShowsTheWholeClipAtItsOwnSizeAndIsAnimatedOnlyWhileItPlays) {
    commandsFrom(DialogTemplates::floppySplit, [](Window w) {
        auto* control = platform::WindowRegistry::widgetAs<platform::AnimationWidget>(
            w.child(FloppySplit::animation).handle());
        ASSERT_NE(control, nullptr);
        QAccessibleInterface* animation = accessible(w.child(FloppySplit::animation));
        ASSERT_EQ(animation->role(), QAccessible::Animation);
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
        platform::Animation requests(w.child(FloppySplit::animation));
        ASSERT_TRUE(requests.play(0, -1, -1));
        EXPECT_TRUE(animation->state().animated);
        requests.stop();
        EXPECT_FALSE(animation->state().animated);
    });
}

// The arrows start from the field's text (the last position when it is unreadable), hold at the
// top and write plain digits where the locale groups thousands. A screen reader finds a spin button
// over the field's value (its name is checked on the real accessibility bus), whose actions raise
// and lower the value even when the range runs high to low and the arrows are turned round.
TEST(UpDown, ArrowsStepTheFieldWithinTheRangeAndASpinButtonReportsIt) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    commandsFrom(DialogTemplates::splitByNumber, [](Window w) {
        platform::UpDown arrows(w.child(Split::arrows));
        arrows.setRange(2, 1000);
        QWidget* field = widget(w.child(Split::segmentCount));
        field->setFocus();
        w.child(Split::segmentCount).setText("999");
        QTest::keyClick(field, Qt::Key_Up);
        QTest::keyClick(field, Qt::Key_Up);
        EXPECT_EQ(w.child(Split::segmentCount).text(), "1000");
        w.child(Split::segmentCount).setText("junk");
        arrows.step(-1);
        EXPECT_EQ(w.child(Split::segmentCount).text(), "999");

        arrows.setRange(1000, 2);
        QAccessibleInterface* spin = accessible(w.child(Split::arrows));
        ASSERT_EQ(spin->role(), QAccessible::SpinBox);
        EXPECT_EQ(spin->text(QAccessible::Name),
                  accessible(w.child(Split::segmentCount))->text(QAccessible::Name));
        EXPECT_EQ(spin->childCount(), 0);
        QAccessibleValueInterface* value = spin->valueInterface();
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->minimumValue().toInt(), 2);
        EXPECT_EQ(value->maximumValue().toInt(), 1000);
        w.child(Split::segmentCount).setText("40");
        spin->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        EXPECT_EQ(w.child(Split::segmentCount).text(), "41");
        EXPECT_EQ(value->currentValue().toInt(), 41);
        value->setCurrentValue(5000);
        EXPECT_EQ(value->currentValue().toInt(), 1000);
        spin->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
        EXPECT_EQ(value->currentValue().toInt(), 999);
    });
    QLocale::setDefault(QLocale::c());
}

TEST(Accessibility, NamesDropTheMnemonicMarkButKeepADoubledAmpersand) {
    EXPECT_EQ(platform::AccessibleNames::withoutMnemonic("Save && &Quit"), "Save & Quit");
}

} // namespace
