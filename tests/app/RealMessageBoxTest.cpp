#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/MessageBoxType.h"
#include "platform/gui/Services.h"
#include "support/Modal.h"
#include "support/RowName.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

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

// Shows the request in a real box, which is found as the application's active modal window and
// handed to `inspect` once; inspect answers it. Answers what the box answered.
int showAndInspect(const platform::MessageBoxRequest& request,
                   const std::function<void(QMessageBox&)>& inspect) {
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || seen)
            return;
        seen = true;
        inspect(*box);
    });
    poll.start(5);
    QTimer::singleShot(10000, &poll, [] {
        ADD_FAILURE() << "the box was still up after 10 s";
        test::Modal::closeAll();
    });
    const int answer = platform::Services::messageBoxes().show(request);
    EXPECT_TRUE(seen);
    return answer;
}

TEST_P(RealMessageBox, ShowsCaptionTextIconAndButtonsAndAnswersTheKeyPressed) {
    const Row& row = GetParam();
    const platform::MessageBoxRequest request{
        {}, " The file has been split ! ", "Sundrel - x ", row.type};
    EXPECT_EQ(showAndInspect(request,
                             [&](QMessageBox& box) {
                                 EXPECT_EQ(box.windowTitle().toStdString(), request.caption);
                                 EXPECT_EQ(box.text().toStdString(), request.text);
                                 EXPECT_EQ(box.icon(), row.icon);
                                 EXPECT_EQ(box.standardButtons(), row.buttons);
                                 QTest::keyClick(&box, row.key);
                             }),
              row.answer);
}

// A file-error report that names a 254-byte file: the box wraps the name, so its end (the segment's
// number) is on screen inside the box, and a screen reader still reads the text as it is.
TEST(RealMessageBox, ShowsTheWholeOfALongNameAndReadsItUnchanged) {
    const std::string name = "/tmp/" + std::string(251, 'n') + "137";
    const platform::MessageBoxRequest request{{},
                                              "A hardware I/O error was reported while accessing " +
                                                  name + ".",
                                              "Sundrel",
                                              Type::iconStop};
    const int answer = showAndInspect(request, [&](QMessageBox& box) {
        auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        const QRect screen = box.screen()->availableGeometry();
        EXPECT_TRUE(screen.contains(box.frameGeometry())) << "the box runs off the screen";
        EXPECT_TRUE(box.rect().contains(label->geometry())) << "the text runs past the box";
        EXPECT_LE(label->heightForWidth(label->width()), label->height()) << "lines are cut off";
        QString shown = label->text();
        shown.remove(QChar(0x200B));
        EXPECT_EQ(shown.toStdString(), request.text);
        const QString read = QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
        EXPECT_EQ(read.toStdString(), request.text);
        label->setSelection(0, int(label->text().size()));
        QTest::keySequence(label, QKeySequence::Copy);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), request.text);
        QTest::keyClick(&box, Qt::Key_Return);
    });
    EXPECT_EQ(answer, Answer::ok);
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
