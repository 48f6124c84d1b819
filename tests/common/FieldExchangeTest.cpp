#include "operations/CSplitByNumberDlg.h"
#include "platform/gui/DialogCommand.h"
#include "platform/gui/MessageBoxAnswer.h"
#include "resources/ControlIds.h"
#include "support/Modal.h"
#include "support/ScriptedServices.h"
#include "support/Ui.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

using test::Modal;
using test::Ui;
namespace ids = resources::ControlIds::Split;

TEST(FieldExchange, DoneWithABadCountKeepsTheNewPathAndTheOldCountAndSelectsTheCount) {
    CSplitByNumberDlg dialog;
    dialog.m_nSegments = 7;
    test::ScriptedMessageBoxes boxes;
    boxes.answer(platform::MessageBoxAnswer::ok);
    Modal::run(dialog, [&](platform::Window window) {
        Ui::type(window, ids::path, "/tmp/new path");
        Ui::type(window, ids::segmentCount, "12abc");
        Ui::click(window, platform::DialogCommand::ok);
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(Ui::focusedControl(window), Ui::control(window, ids::segmentCount));
        EXPECT_EQ(qobject_cast<QLineEdit*>(Ui::control(window, ids::segmentCount))->selectedText(),
                  "12abc");
    });
    EXPECT_EQ(dialog.m_strPath + "|" + std::to_string(dialog.m_nSegments), "/tmp/new path|7");
    ASSERT_EQ(boxes.shown().size(), 1u); // its text, caption and type: the split's refusals
    EXPECT_EQ(boxes.shown()[0].ownerCaption, "  Sun Drel    Split Files By Number ");
}

// A confirmed file changes the path field only: a count typed before Browse is what the next
// store keeps. Cancel changes nothing.
TEST(Browse, OkMakesTheChoiceThePathAndKeepsWhatIsTypedElsewhereCancelChangesNothing) {
    CSplitByNumberDlg dialog;
    dialog.m_nSegments = 5;
    test::ScriptedFileChooser chooser;
    chooser.choose("/data/chosen.bin").cancel();
    Modal::run(dialog, [&](platform::Window window) {
        Ui::type(window, ids::segmentCount, "3");
        Ui::click(window, ids::browse);
        EXPECT_EQ(chooser.requests().back().owner.handle(), window.handle());
        EXPECT_EQ(Ui::text(window, ids::path) + "|" + Ui::text(window, ids::segmentCount),
                  "/data/chosen.bin|3");
        Ui::type(window, ids::path, "/data/typed.bin");
        Ui::click(window, ids::browse);
        EXPECT_EQ(Ui::text(window, ids::path) + "|" + Ui::text(window, ids::segmentCount),
                  "/data/typed.bin|3");
        Ui::click(window, platform::DialogCommand::ok);
    });
    EXPECT_EQ(dialog.m_strPath + "|" + std::to_string(dialog.m_nSegments), "/data/typed.bin|3");
    ASSERT_EQ(chooser.requests().size(), 2u);
    EXPECT_TRUE(chooser.requests()[0].filter.empty());
}

} // namespace
