#include "platform/gui/QtMessageBox.h"

#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/MessageBoxText.h"
#include "platform/gui/MessageBoxType.h"
#include "platform/gui/WindowRegistry.h"

#include <QMessageBox>
#include <QPushButton>

namespace platform {

namespace {

QMessageBox::Icon iconOf(unsigned type) {
    switch (type & MessageBoxType::iconMask) {
    case MessageBoxType::iconStop:
        return QMessageBox::Critical;
    case MessageBoxType::iconQuestion:
        return QMessageBox::Question;
    case MessageBoxType::iconExclamation:
        return QMessageBox::Warning;
    case MessageBoxType::iconInformation:
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
    using Answer = MessageBoxAnswer;
    switch (type & MessageBoxType::buttonMask) {
    case MessageBoxType::okCancel:
        return {{QMessageBox::Ok, Answer::ok}, {QMessageBox::Cancel, Answer::cancel}};
    case MessageBoxType::yesNoCancel:
        return {{QMessageBox::Yes, Answer::yes},
                {QMessageBox::No, Answer::no},
                {QMessageBox::Cancel, Answer::cancel}};
    case MessageBoxType::yesNo:
        return {{QMessageBox::Yes, Answer::yes}, {QMessageBox::No, Answer::no}};
    case MessageBoxType::retryCancel:
        return {{QMessageBox::Retry, Answer::retry}, {QMessageBox::Cancel, Answer::cancel}};
    default:
        return {{QMessageBox::Ok, Answer::ok}};
    }
}

// The second or third button when the type asks for it and the box has that many.
std::size_t defaultOf(unsigned type, std::size_t buttons) {
    const std::size_t asked = (type & MessageBoxType::defaultButtonMask) >> 8;
    return asked < buttons ? asked : 0;
}

} // namespace

int QtMessageBox::show(const MessageBoxRequest& request) {
    QMessageBox box(WindowRegistry::widget(request.owner.handle()));
    box.setWindowTitle(QString::fromStdString(request.caption));
    box.setText(QString::fromStdString(request.text));
    box.setTextFormat(Qt::PlainText);
    MessageBoxText::apply(box, QString::fromStdString(request.text));
    box.setIcon(iconOf(request.type));
    box.setWindowModality(Qt::ApplicationModal);
    const auto choices = buttonsOf(request.type);
    QMessageBox::StandardButtons buttons;
    for (const auto& choice : choices)
        buttons |= choice.button;
    box.setStandardButtons(buttons);
    box.setDefaultButton(choices[defaultOf(request.type, choices.size())].button);
    // Esc answers Cancel when there is one, and OK in a box that has only OK.
    box.setEscapeButton(choices.size() == 1 ? choices.front().button : QMessageBox::Cancel);
    const int pressed = box.exec();
    for (const auto& choice : choices) {
        if (pressed == choice.button)
            return choice.answer;
    }
    return choices.size() == 1 ? MessageBoxAnswer::ok : MessageBoxAnswer::cancel;
}

} // namespace platform
