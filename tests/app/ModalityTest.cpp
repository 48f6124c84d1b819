#include "app/CMainDlg.h"
#include "app/CSegmentApp.h"
#include "app/ShellDriver.h"

#include "support/Modal.h"
#include "support/ScriptedServices.h"
#include "support/Ui.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <ostream>

namespace {

using platform::Window;
using test::Modal;
using test::ShellDriver;
using test::Ui;

enum class Kind { Dialog, MessageBox, FileDialog };

struct Nested {
    const char* name;
    std::function<void(Window main)> open;
    Kind kind;
};

void PrintTo(const Nested& row, std::ostream* out) {
    *out << row.name;
}

void altKey(Window main, Qt::Key key) {
    Ui::key(main, key, Qt::AltModifier);
}

// The main window takes no click and no key while anything modal is up over it, and takes them
// again once it has gone. Message boxes and the file dialog here are the real ones.
class MainWindowBlocked : public ::testing::TestWithParam<Nested> {
  protected:
    test::ScriptedHelpViewer m_help;
    CMainDlg m_main;
};

TEST_P(MainWindowBlocked, WhileSomethingModalIsUpOverIt) {
    ASSERT_EQ(CWinApp::Get(), &theApp);
    if (GetParam().kind == Kind::MessageBox)
        m_help.answer(false); // the refusal is a real message box owned by the main window
    Modal::run(m_main, [&](Window main) {
        QWidget* mainWidget = Ui::widget(main);
        const auto wanted = [&](QWidget* modal) {
            switch (GetParam().kind) {
            case Kind::MessageBox:
                return qobject_cast<QMessageBox*>(modal) != nullptr;
            case Kind::FileDialog:
                return qobject_cast<QFileDialog*>(modal) != nullptr;
            case Kind::Dialog:
                break;
            }
            return true;
        };
        ShellDriver::whileModalUp(
            [&] { GetParam().open(main); },
            [&](QWidget* modal) {
                EXPECT_NE(modal, mainWidget);
                const auto opened = ShellDriver::dialogsOpenedBy([&] {
                    ShellDriver::clickThroughDesktop(Ui::control(main, 1002));
                    ShellDriver::clickThroughDesktop(Ui::control(main, 2));
                    // The desktop gives keys to the active window only; even sent to it, none
                    // counts.
                    QTest::keyClick(mainWidget->windowHandle(), Qt::Key_A, Qt::AltModifier);
                    QTest::keyClick(mainWidget->windowHandle(), Qt::Key_Escape);
                });
                EXPECT_TRUE(opened.empty());
                EXPECT_TRUE(main.isVisible()) << "the main window ended behind a modal window";
                EXPECT_TRUE(modal->isVisible());
            },
            wanted);
        EXPECT_EQ(QApplication::activeModalWidget(), mainWidget);
        EXPECT_EQ(ShellDriver::dialogsOpenedBy(
                      [&] { ShellDriver::clickThroughDesktop(Ui::control(main, 1017)); }),
                  std::vector<int>{100})
            << "the main window takes input again";
    });
}

INSTANTIATE_TEST_SUITE_P(
    Everything, MainWindowBlocked,
    ::testing::Values(Nested{"SizeDialog", [](Window m) { altKey(m, Qt::Key_S); }, Kind::Dialog},
                      Nested{"NumberDialog", [](Window m) { altKey(m, Qt::Key_N); }, Kind::Dialog},
                      Nested{"FloppyDialog", [](Window m) { altKey(m, Qt::Key_F); }, Kind::Dialog},
                      Nested{"JoinDialog", [](Window m) { altKey(m, Qt::Key_J); }, Kind::Dialog},
                      Nested{"AboutBox", [](Window m) { altKey(m, Qt::Key_A); }, Kind::Dialog},
                      Nested{"MessageBox",
                             [](Window m) { ShellDriver::keyThroughDesktop(m, Qt::Key_F1); },
                             Kind::MessageBox},
                      Nested{"FileDialogOfAnOperation",
                             [](Window m) {
                                 Modal::whenOpens([&] { altKey(m, Qt::Key_J); },
                                                  [](Window join) { altKey(join, Qt::Key_B); });
                             },
                             Kind::FileDialog}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
