#include "common/CWinApp.h"
#include "operations/CSplitByNumberDlg.h"
#include "operations/CSplitBySizeDlg.h"
#include "support/Modal.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/ScriptedServices.h"
#include "support/Ui.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

using test::Modal;
using test::Ui;

TEST(FieldExchange, BadCountAfterNewPathKeepsThePathAndTheOldCountAndSelectsTheField) {
    CSplitByNumberDlg dialog;
    dialog.m_nSegments = 7;
    test::ScriptedMessageBoxes boxes;
    boxes.answer(1);
    bool stored = true;
    Modal::run(dialog, [&](platform::Window window) {
        Ui::type(window, 1001, "/tmp/new path");
        Ui::type(window, 1004, "12abc");
        stored = dialog.UpdateData(true);
        auto* count = qobject_cast<QLineEdit*>(Ui::control(window, 1004));
        EXPECT_EQ(Ui::focusedControl(window), count);
        EXPECT_EQ(count->selectedText(), "12abc");
    });
    EXPECT_FALSE(stored);
    EXPECT_EQ(dialog.m_strPath, "/tmp/new path");
    EXPECT_EQ(dialog.m_nSegments, 7);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Please enter an integer.");
    EXPECT_EQ(boxes.shown()[0].caption, CWinApp::DisplayName());
    EXPECT_EQ(boxes.shown()[0].type, 0x30u); // OK with the exclamation icon added
    EXPECT_EQ(boxes.shown()[0].ownerCaption, "  Sun Drel    Split Files By Number ");
}

TEST(FieldExchange, UnsignedFieldRefusesAMinusSignWithItsOwnText) {
    CSplitBySizeDlg dialog;
    test::ScriptedMessageBoxes boxes;
    boxes.answer(1);
    Modal::run(dialog, [&](platform::Window window) {
        Ui::type(window, 1005, "-5");
        EXPECT_FALSE(dialog.UpdateData(true));
    });
    ASSERT_EQ(boxes.texts(), std::vector<std::string>{"Please enter a positive integer."});
}

TEST(FieldExchange, DoneStoresAndClosesEscDiscards) {
    CSplitByNumberDlg dialog;
    const int done = Modal::run(dialog, [&](platform::Window window) {
        Ui::type(window, 1001, "kept");
        Ui::type(window, 1004, "5");
        Ui::click(window, 1);
    });
    EXPECT_EQ(done, 1);
    EXPECT_EQ(dialog.m_strPath, "kept");
    EXPECT_EQ(dialog.m_nSegments, 5);

    const int cancelled = Modal::run(dialog, [&](platform::Window window) {
        EXPECT_EQ(Ui::text(window, 1001), "kept");
        EXPECT_EQ(Ui::text(window, 1004), "5");
        Ui::type(window, 1001, "typed, never stored");
        Ui::key(window, Qt::Key_Escape);
    });
    EXPECT_EQ(cancelled, 2);
    EXPECT_EQ(dialog.m_strPath, "kept");
}

TEST(FieldExchange, DoneWithABadIntegerKeepsTheDialogOpen) {
    CSplitByNumberDlg dialog;
    test::ScriptedMessageBoxes boxes;
    boxes.answer(1);
    Modal::run(dialog, [&](platform::Window window) {
        Ui::type(window, 1004, "1,000");
        Ui::click(window, 1);
        EXPECT_TRUE(window.isVisible());
    });
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Please enter an integer."});
}

TEST(Browse, ConfirmedFileBecomesThePathAndReloadsEveryField) {
    CSplitByNumberDlg dialog;
    dialog.m_nSegments = 3;
    test::ScriptedFileChooser chooser;
    chooser.choose("/data/chosen.bin").cancel();
    Modal::run(dialog, [&](platform::Window window) {
        Ui::type(window, 1004, "9");
        Ui::click(window, 1002);
        EXPECT_EQ(chooser.requests().back().owner.handle(), window.handle());
        EXPECT_EQ(Ui::text(window, 1001), "/data/chosen.bin");
        EXPECT_EQ(Ui::text(window, 1004), "3"); // the typed number gives way to the kept one
        Ui::type(window, 1004, "9");
        Ui::click(window, 1002); // cancelled: nothing changes
        EXPECT_EQ(Ui::text(window, 1004), "9");
    });
    EXPECT_EQ(dialog.m_strPath, "/data/chosen.bin");
    ASSERT_EQ(chooser.requests().size(), 2u);
    EXPECT_EQ(chooser.requests()[0].flags, 0x880026u);
    EXPECT_TRUE(chooser.requests()[0].filter.empty());
}

} // namespace
