#pragma once

#include "platform/Window.h"

#include <Qt>

#include <string>

class QWidget;

namespace test {

// Real input to real controls: keys and clicks go through Qt's event delivery.
class Ui final {
public:
    static QWidget* widget(platform::Window window);
    static QWidget* control(platform::Window dialog, int id);
    // Replaces the field's text by typing it.
    static void type(platform::Window dialog, int id, const std::string& text);
    static std::string text(platform::Window dialog, int id);
    static void click(platform::Window dialog, int id);
    // A key to the widget that has the focus in that dialog (the dialog itself when none has).
    static void key(platform::Window dialog, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    static QWidget* focusedControl(platform::Window dialog);
};

} // namespace test
