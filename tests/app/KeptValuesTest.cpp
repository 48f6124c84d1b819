#include "app/CMainDlg.h"

#include "support/Modal.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/Ui.h"

#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <ostream>

namespace {

using platform::Window;
using test::Modal;
using test::Ui;

struct Fields {
    const char* name;
    Qt::Key open;
    int pathId;
    int numberId; // 0: the dialog has no number field
    const char* initialNumber;
};

void PrintTo(const Fields& row, std::ostream* out) {
    *out << row.name;
}

class KeptValues : public ::testing::TestWithParam<Fields> {
  protected:
    // Opens the dialog from the main window and runs `body` in it.
    void inDialog(Window main, const std::function<void(Window)>& body) {
        Modal::whenOpens([&] { Ui::key(main, GetParam().open, Qt::AltModifier); }, body);
    }

    void type(Window dialog, const std::string& path, const std::string& number) {
        Ui::type(dialog, GetParam().pathId, path);
        if (GetParam().numberId != 0)
            Ui::type(dialog, GetParam().numberId, number);
    }

    void expectShown(Window dialog, const std::string& path, const std::string& number,
                     const char* when) {
        EXPECT_EQ(Ui::text(dialog, GetParam().pathId), path) << when;
        if (GetParam().numberId != 0) {
            EXPECT_EQ(Ui::text(dialog, GetParam().numberId), number) << when;
        }
    }

    test::ScriptedMessageBoxes m_boxes; // storing valid values asks nothing
    CMainDlg m_main;
};

TEST_P(KeptValues, DoneKeepsWhatWasTypedEscAndTheCloseBoxDoNot) {
    Modal::run(m_main, [&](Window main) {
        inDialog(main, [&](Window dialog) {
            expectShown(dialog, "", GetParam().initialNumber, "at the first opening");
            type(dialog, "/tmp/kept/a.bin", "7");
            Ui::key(dialog, Qt::Key_D, Qt::AltModifier);
            EXPECT_FALSE(dialog.isVisible()) << "Done closes the dialog";
        });
        inDialog(main, [&](Window dialog) {
            expectShown(dialog, "/tmp/kept/a.bin", "7", "after Done");
            type(dialog, "/tmp/lost/b.bin", "9");
            Ui::key(dialog, Qt::Key_Escape);
            EXPECT_FALSE(dialog.isVisible());
        });
        inDialog(main, [&](Window dialog) {
            expectShown(dialog, "/tmp/kept/a.bin", "7", "after Esc");
            type(dialog, "/tmp/lost/c.bin", "11");
            Ui::widget(dialog)->windowHandle()->close();
            EXPECT_FALSE(dialog.isVisible());
        });
        inDialog(main, [&](Window dialog) {
            expectShown(dialog, "/tmp/kept/a.bin", "7", "after the close box");
        });
    });
}

TEST_P(KeptValues, ANewMainWindowStartsFromTheInitialValues) {
    Modal::run(m_main, [&](Window main) {
        inDialog(main, [&](Window dialog) {
            type(dialog, "/tmp/kept/a.bin", "7");
            Ui::key(dialog, Qt::Key_D, Qt::AltModifier);
        });
    });
    CMainDlg restarted;
    Modal::run(restarted, [&](Window main) {
        inDialog(main, [&](Window dialog) {
            expectShown(dialog, "", GetParam().initialNumber, "in a new main window");
        });
    });
}

INSTANTIATE_TEST_SUITE_P(EveryDialog, KeptValues,
                         ::testing::Values(Fields{"SplitByNumber", Qt::Key_N, 1001, 1004, "0"},
                                           Fields{"SplitBySize", Qt::Key_S, 1001, 1005, "0"},
                                           Fields{"Join", Qt::Key_J, 1007, 0, ""},
                                           Fields{"Floppies", Qt::Key_F, 1001, 0, ""}),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
