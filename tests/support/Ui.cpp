#include "support/Ui.h"

#include "platform/WindowRegistry.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace test {

QWidget* Ui::widget(platform::Window window) { return platform::WindowRegistry::widget(window.handle()); }

QWidget* Ui::control(platform::Window dialog, int id) {
    QWidget* found = widget(dialog.child(id));
    EXPECT_NE(found, nullptr) << "no control " << id;
    return found;
}

void Ui::type(platform::Window dialog, int id, const std::string& text) {
    auto* edit = qobject_cast<QLineEdit*>(control(dialog, id));
    if (edit == nullptr) {
        ADD_FAILURE() << "control " << id << " is not an edit field";
        return;
    }
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, QString::fromStdString(text));
}

std::string Ui::text(platform::Window dialog, int id) { return dialog.child(id).text(); }

void Ui::click(platform::Window dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(control(dialog, id));
    if (button == nullptr) {
        ADD_FAILURE() << "control " << id << " is not a button";
        return;
    }
    QTest::mouseClick(button, Qt::LeftButton);
}

QWidget* Ui::focusedControl(platform::Window dialog) {
    QWidget* top = widget(dialog);
    return top == nullptr ? nullptr : top->focusWidget();
}

void Ui::key(platform::Window dialog, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = focusedControl(dialog);
    if (target == nullptr)
        target = widget(dialog);
    if (target == nullptr) {
        ADD_FAILURE() << "no window to send the key to";
        return;
    }
    QTest::keyClick(target, key, modifiers);
}

} // namespace test
