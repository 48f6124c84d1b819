#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/MessageBoxType.h"
#include "platform/gui/Services.h"
#include "support/Modal.h"
#include "support/RowName.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using Type = platform::MessageBoxType;
using Answer = platform::MessageBoxAnswer;

struct Row {
    const char* name;
    unsigned type;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    Qt::Key key;
    int answer;
};

class RealMessageBox : public testing::TestWithParam<Row> {};

// The box on screen is found as the application's active modal window and answered with a key.
TEST_P(RealMessageBox, ShowsCaptionTextIconAndButtonsAndAnswersTheKeyPressed) {
    const Row& row = GetParam();
    const platform::MessageBoxRequest request{
        {}, " The file has been split ! ", "Sundrel - x ", row.type};
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || seen)
            return;
        seen = true;
        EXPECT_EQ(box->windowTitle().toStdString(), request.caption);
        EXPECT_EQ(box->text().toStdString(), request.text);
        EXPECT_EQ(box->icon(), row.icon);
        EXPECT_EQ(box->standardButtons(), row.buttons);
        QTest::keyClick(box, row.key);
    });
    poll.start(5);
    QTimer::singleShot(10000, &poll, [] {
        ADD_FAILURE() << "the box was still up after 10 s";
        test::Modal::closeAll();
    });
    EXPECT_EQ(platform::Services::messageBoxes().show(request), row.answer);
    EXPECT_TRUE(seen);
}

const auto okCancel = QMessageBox::Ok | QMessageBox::Cancel;
const unsigned informationOkCancel = Type::okCancel | Type::iconInformation;

INSTANTIATE_TEST_SUITE_P(
    Rows, RealMessageBox,
    testing::Values(
        Row{"Plain", Type::ok, QMessageBox::NoIcon, QMessageBox::Ok, Qt::Key_Escape, Answer::ok},
        Row{"Stop", Type::iconStop, QMessageBox::Critical, QMessageBox::Ok, Qt::Key_Escape,
            Answer::ok},
        Row{"OkCancelEsc", informationOkCancel, QMessageBox::Information, okCancel, Qt::Key_Escape,
            Answer::cancel},
        Row{"OkCancelEnter", informationOkCancel, QMessageBox::Information, okCancel,
            Qt::Key_Return, Answer::ok},
        // The questions before a split that could lose or waste files: Enter cancels.
        Row{"CancelFirstEnter", Type::okCancel | Type::iconExclamation | Type::defaultButton2,
            QMessageBox::Warning, okCancel, Qt::Key_Return, Answer::cancel},
        Row{"YesNoCancelEnter", Type::yesNoCancel | Type::iconExclamation | Type::defaultButton3,
            QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
            Qt::Key_Return, Answer::cancel}),
    test::rowName);

} // namespace
