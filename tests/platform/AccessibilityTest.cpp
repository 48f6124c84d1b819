#include "platform/AccessibleNames.h"
#include "platform/Animation.h"
#include "platform/DialogHost.h"
#include "platform/UpDown.h"
#include "platform/WindowRegistry.h"
#include "resources/BinaryResources.h"
#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"

#include <QAccessible>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

using platform::DialogHost;
using platform::Window;
using resources::DialogTemplates;
namespace Split = resources::ControlIds::Split;
namespace FloppySplit = resources::ControlIds::FloppySplit;

// Runs the body inside the dialog's modal loop, then ends it.
struct Body final : platform::DialogEvents {
    std::function<void(Window)> body;

    bool onInitDialog(Window dialog) override {
        QTimer::singleShot(0, [this, dialog] {
            body(dialog);
            DialogHost::endModal(dialog, 1);
        });
        return true;
    }
    void onCommand(int) override {}
    void onSysCommand(unsigned) override {}
    void onHelpKey() override {}
};

void inDialog(int templateId, std::function<void(Window)> body) {
    Body events;
    events.body = std::move(body);
    DialogHost::runModal(*DialogTemplates::Find(templateId), events);
}

// What a screen reader is told about a control, as the toolkit hands it to the accessibility bus.
QAccessibleInterface* accessible(Window control) {
    return QAccessible::queryAccessibleInterface(
        platform::WindowRegistry::widget(control.handle()));
}

TEST(Accessibility, NamesShowTheTextWithoutItsMnemonicMark) {
    const struct {
        const char* shown;
        const char* name;
    } rows[] = {
        {"(1) &Select the  file to be split ", "(1) Select the  file to be split "},
        {"Save && &Quit", "Save & Quit"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(platform::AccessibleNames::withoutMnemonic(row.shown), row.name) << row.shown;
}

void collectUnnamed(QAccessibleInterface* node, QStringList& unnamed) {
    static const QList<QAccessible::Role> needsName = {
        QAccessible::EditableText, QAccessible::SpinBox, QAccessible::ProgressBar,
        QAccessible::Animation, QAccessible::PushButton};
    const QString name = node->text(QAccessible::Name);
    if ((needsName.contains(node->role()) || node->state().focusable) && name.trimmed().isEmpty())
        unnamed << "role 0x" + QString::number(node->role(), 16);
    if (name.contains('&'))
        unnamed << name;
    for (int i = 0; i < node->childCount(); ++i)
        collectUnnamed(node->child(i), unnamed);
}

TEST(Accessibility, EveryControlThatNeedsANameHasOneWithoutMnemonicMarks) {
    for (int id :
         {DialogTemplates::about, DialogTemplates::mainWindow, DialogTemplates::splitByNumber,
          DialogTemplates::splitBySize, DialogTemplates::join, DialogTemplates::floppySplit}) {
        inDialog(id, [id](Window w) {
            QStringList unnamed;
            collectUnnamed(accessible(w), unnamed);
            EXPECT_TRUE(unnamed.isEmpty())
                << "dialog " << id << ": unnamed or marked " << unnamed.join(", ").toStdString();
        });
    }
}

// The spin button reports the field's number within the range, and its actions raise and lower
// it even when the range runs high to low and the arrows are turned round.
TEST(Accessibility, UpDownIsASpinButtonOverItsFieldsValue) {
    inDialog(DialogTemplates::splitBySize, [](Window w) {
        platform::UpDown(w.child(Split::arrows)).setRange(1000, 2);
        QAccessibleInterface* spin = accessible(w.child(Split::arrows));
        ASSERT_EQ(spin->role(), QAccessible::SpinBox);
        EXPECT_EQ(spin->text(QAccessible::Name),
                  accessible(w.child(Split::segmentSize))->text(QAccessible::Name));
        EXPECT_EQ(spin->childCount(), 0);
        QAccessibleValueInterface* value = spin->valueInterface();
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->minimumValue().toInt(), 2);
        EXPECT_EQ(value->maximumValue().toInt(), 1000);
        w.child(Split::segmentSize).setText("40");
        spin->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        EXPECT_EQ(w.child(Split::segmentSize).text(), "41");
        EXPECT_EQ(value->currentValue().toInt(), 41);
        value->setCurrentValue(5000);
        EXPECT_EQ(value->currentValue().toInt(), 1000);
        spin->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
        EXPECT_EQ(value->currentValue().toInt(), 999);
    });
}

TEST(Accessibility, AnimationIsAnimatedOnlyWhileItPlays) {
    inDialog(DialogTemplates::floppySplit, [](Window w) {
        QAccessibleInterface* animation = accessible(w.child(FloppySplit::animation));
        ASSERT_EQ(animation->role(), QAccessible::Animation);
        EXPECT_FALSE(animation->text(QAccessible::Name).isEmpty());
        platform::Animation control(w.child(FloppySplit::animation));
        ASSERT_TRUE(control.open(
            resources::BinaryResources::clip(resources::BinaryResources::copyAnimationClip)));
        ASSERT_TRUE(control.play(0, -1, -1));
        EXPECT_TRUE(animation->state().animated);
        control.stop();
        EXPECT_FALSE(animation->state().animated);
    });
}

} // namespace
