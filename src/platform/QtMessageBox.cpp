#include "platform/QtMessageBox.h"

#include "platform/WindowRegistry.h"

#include <QMessageBox>
#include <QPushButton>

namespace platform {

namespace {

QMessageBox::Icon iconOf(unsigned type) {
    switch (type & 0xF0) {
    case 0x10:
        return QMessageBox::Critical;
    case 0x20:
        return QMessageBox::Question;
    case 0x30:
        return QMessageBox::Warning;
    case 0x40:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct ButtonChoice {
    QMessageBox::StandardButton button;
    int answer;
};

std::vector<ButtonChoice> buttonsOf(unsigned type) {
    switch (type & 0x0F) {
    case 1:
        return {{QMessageBox::Ok, 1}, {QMessageBox::Cancel, 2}};
    case 3:
        return {{QMessageBox::Yes, 6}, {QMessageBox::No, 7}, {QMessageBox::Cancel, 2}};
    case 4:
        return {{QMessageBox::Yes, 6}, {QMessageBox::No, 7}};
    case 5:
        return {{QMessageBox::Retry, 4}, {QMessageBox::Cancel, 2}};
    default:
        return {{QMessageBox::Ok, 1}};
    }
}

} // namespace

int QtMessageBox::show(const MessageBoxRequest& request) {
    QMessageBox box(WindowRegistry::widget(request.owner.handle()));
    box.setWindowTitle(QString::fromStdString(request.caption));
    box.setText(QString::fromStdString(request.text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(iconOf(request.type));
    box.setWindowModality(Qt::ApplicationModal);
    const auto choices = buttonsOf(request.type);
    QMessageBox::StandardButtons buttons;
    for (const auto& choice : choices)
        buttons |= choice.button;
    box.setStandardButtons(buttons);
    box.setDefaultButton(choices.front().button);
    // Esc answers Cancel when there is one, and OK in a box that has only OK.
    box.setEscapeButton(choices.size() == 1 ? choices.front().button : QMessageBox::Cancel);
    const int pressed = box.exec();
    for (const auto& choice : choices) {
        if (pressed == choice.button)
            return choice.answer;
    }
    return choices.size() == 1 ? 1 : 2;
}

} // namespace platform
