#include "platform/MessageBoxAnswer.h"
#include "platform/MessageBoxType.h"
#include "platform/Services.h"
#include "support/Modal.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The box on screen is found as the application's active modal window and answered with a key.
TEST(RealMessageBox, ShowsCaptionTextIconAndButtonsAndAnswersTheKeyPressed) {
    using Type = platform::MessageBoxType;
    using Answer = platform::MessageBoxAnswer;
    const auto okCancel = QMessageBox::Ok | QMessageBox::Cancel;
    const unsigned informationOkCancel = Type::okCancel | Type::iconInformation;
    // Name, type, the icon and buttons shown, the key pressed, the answer.
    const std::vector<std::tuple<const char*, unsigned, QMessageBox::Icon,
                                 QMessageBox::StandardButtons, Qt::Key, int>>
        rows{{"Plain", Type::ok, QMessageBox::NoIcon, QMessageBox::Ok, Qt::Key_Escape, Answer::ok},
             {"Stop", Type::iconStop, QMessageBox::Critical, QMessageBox::Ok, Qt::Key_Escape,
              Answer::ok},
             {"Information", Type::iconInformation, QMessageBox::Information, QMessageBox::Ok,
              Qt::Key_Escape, Answer::ok},
             {"OkCancelEsc", informationOkCancel, QMessageBox::Information, okCancel,
              Qt::Key_Escape, Answer::cancel},
             {"OkCancelEnter", informationOkCancel, QMessageBox::Information, okCancel,
              Qt::Key_Return, Answer::ok}};
    const platform::MessageBoxRequest request{
        {}, " The file has been split ! ", "Sundrel - x ", Type::ok};
    for (const auto& [name, type, icon, buttons, key, answer] : rows) {
        SCOPED_TRACE(name);
        bool seen = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible() || seen)
                return;
            seen = true;
            EXPECT_EQ(box->windowTitle().toStdString(), request.caption);
            EXPECT_EQ(box->text().toStdString(), request.text);
            EXPECT_EQ(box->icon(), icon);
            EXPECT_EQ(box->standardButtons(), buttons);
            QTest::keyClick(box, key);
        });
        poll.start(5);
        QTimer::singleShot(10000, &poll, [] {
            ADD_FAILURE() << "the box was still up after 10 s";
            test::Modal::closeAll();
        });
        auto typed = request;
        typed.type = type;
        EXPECT_EQ(platform::Services::messageBoxes().show(typed), answer);
        EXPECT_TRUE(seen);
    }
}

} // namespace
