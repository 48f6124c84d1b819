#pragma once

#include "platform/gui/Window.h"
#include "platform/gui/WindowRegistry.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace test {

// Real input to real controls: keys and clicks go through Qt's event delivery.
class Ui final {
  public:
    static QWidget* widget(platform::Window window) {
        return platform::WindowRegistry::widget(window.handle());
    }
    static QWidget* control(platform::Window dialog, int id) {
        QWidget* found = widget(dialog.child(id));
        EXPECT_NE(found, nullptr) << "no control " << id;
        return found;
    }
    // Replaces the field's text by typing it.
    static void type(platform::Window dialog, int id, const std::string& text) {
        auto* edit = qobject_cast<QLineEdit*>(control(dialog, id));
        ASSERT_NE(edit, nullptr) << "control " << id << " is not an edit field";
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, QString::fromStdString(text));
    }
    static std::string text(platform::Window dialog, int id) { return dialog.child(id).text(); }
    static void click(platform::Window dialog, int id) {
        auto* button = qobject_cast<QAbstractButton*>(control(dialog, id));
        ASSERT_NE(button, nullptr) << "control " << id << " is not a button";
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // A key to the widget that has the focus in that dialog (the dialog itself when none has).
    static void key(platform::Window dialog, Qt::Key key,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = focusedControl(dialog) ? focusedControl(dialog) : widget(dialog);
        ASSERT_NE(target, nullptr) << "no window to send the key to";
        QTest::keyClick(target, key, modifiers);
    }
    static QWidget* focusedControl(platform::Window dialog) {
        return widget(dialog) ? widget(dialog)->focusWidget() : nullptr;
    }
};

} // namespace test
