#include "app/CMainDlg.h"
#include "app/CSegmentApp.h"
#include "app/ShellDriver.h"

#include "common/AfxMessageBox.h"
#include "platform/Services.h"
#include "support/Modal.h"
#include "support/Ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

namespace {

using test::ShellDriver;

bool isMessageBox(QWidget* modal) {
    return qobject_cast<QMessageBox*>(modal) != nullptr;
}

struct Seen {
    std::string title;
    std::string text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Shows a box through the real service, and answers it on screen with `answer`.
int showReal(const std::function<int()>& show, const std::function<void(QMessageBox*)>& answer,
             Seen& seen) {
    int result = -1;
    ShellDriver::whileModalUp([&] { result = show(); },
                              [&](QWidget* modal) {
                                  auto* box = qobject_cast<QMessageBox*>(modal);
                                  seen = {box->windowTitle().toStdString(),
                                          box->text().toStdString(), box->icon(),
                                          box->standardButtons()};
                                  answer(box);
                              },
                              isMessageBox);
    return result;
}

void pressEscape(QMessageBox* box) {
    QTest::keyClick(box, Qt::Key_Escape);
}

struct BoxRow {
    const char* name;
    unsigned type;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    int escapeAnswer;
};

void PrintTo(const BoxRow& row, std::ostream* out) {
    *out << row.name;
}

class RealMessageBox : public ::testing::TestWithParam<BoxRow> {};

TEST_P(RealMessageBox, ShowsCaptionTextIconAndButtonsAndEscAnswers) {
    platform::MessageBoxRequest request;
    request.text = " The file has been split ! ";
    request.caption = "Sundrel - split by number ";
    request.type = GetParam().type;
    Seen seen;
    const int answer = showReal([&] { return platform::Services::messageBoxes().show(request); },
                                pressEscape, seen);
    EXPECT_EQ(seen.title, request.caption);
    EXPECT_EQ(seen.text, request.text);
    EXPECT_EQ(seen.icon, GetParam().icon);
    EXPECT_EQ(seen.buttons, GetParam().buttons);
    EXPECT_EQ(answer, GetParam().escapeAnswer);
}

INSTANTIATE_TEST_SUITE_P(
    Types, RealMessageBox,
    ::testing::Values(BoxRow{"PlainOk", 0x00, QMessageBox::NoIcon, QMessageBox::Ok, 1},
                      BoxRow{"Stop", 0x10, QMessageBox::Critical, QMessageBox::Ok, 1},
                      BoxRow{"Warning", 0x30, QMessageBox::Warning, QMessageBox::Ok, 1},
                      BoxRow{"Information", 0x40, QMessageBox::Information, QMessageBox::Ok, 1},
                      BoxRow{"OkCancel", 0x41, QMessageBox::Information,
                             QMessageBox::Ok | QMessageBox::Cancel, 2}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(RealMessageBoxAnswers, OkAndCancelAreTheButtonsPressed) {
    platform::MessageBoxRequest request{{}, "Insert a disk", "Sundrel", 0x41};
    Seen seen;
    const auto press = [](QMessageBox::StandardButton which) {
        return [which](QMessageBox* box) { box->button(which)->click(); };
    };
    EXPECT_EQ(showReal([&] { return platform::Services::messageBoxes().show(request); },
                       press(QMessageBox::Ok), seen),
              1);
    EXPECT_EQ(showReal([&] { return platform::Services::messageBoxes().show(request); },
                       press(QMessageBox::Cancel), seen),
              2);
    EXPECT_EQ(showReal([&] { return platform::Services::messageBoxes().show(request); },
                       [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); }, seen),
              1)
        << "Enter answers OK";
}

TEST(RealMessageBoxAnswers, ApplicationBoxIsCaptionedWithTheDisplayNameAndWarns) {
    Seen seen;
    EXPECT_EQ(
        showReal([] { return AfxMessageBox("Please enter an integer.", 0); }, pressEscape, seen),
        1);
    EXPECT_EQ(seen.title, "test_app");
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}

// The real help viewer finds no test_app.HLP beside the program and refuses.
TEST(RealMessageBoxAnswers, HelpRefusedByTheDesktopShowsTheRealWarning) {
    ASSERT_EQ(CWinApp::Get(), &theApp);
    CMainDlg main;
    Seen seen;
    test::Modal::run(main, [&](platform::Window window) {
        showReal(
            [&] {
                ShellDriver::keyThroughDesktop(window, Qt::Key_F1);
                return 0;
            },
            [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); }, seen);
        EXPECT_TRUE(window.isVisible());
    });
    EXPECT_EQ(seen.title, "test_app");
    EXPECT_EQ(seen.text, "Failed to launch help.");
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}

} // namespace
