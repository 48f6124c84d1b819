#include "platform/gui/DialogControlFactory.h"

#include "platform/gui/AnimationWidget.h"
#include "platform/gui/DialogWindow.h"
#include "platform/gui/ProgressBarWidget.h"
#include "platform/gui/QtText.h"
#include "platform/gui/Style.h"
#include "platform/gui/UpDownWidget.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace platform {

QWidget* DialogControlFactory::create(const ControlTemplate& item, DialogWindow& dialog,
                                      QWidget* previous) {
    const QString text = QtText::fromBytes(item.text);
    const Qt::FocusPolicy focus = (item.style & Style::tabStop) ? Qt::StrongFocus : Qt::ClickFocus;
    switch (item.kind) {
    case ControlKind::PushButton: {
        auto* button = new QPushButton(text, &dialog);
        button->setAutoDefault(false);
        button->setDefault(item.style & Style::defPushButton);
        button->setFocusPolicy(focus);
        const int id = item.id;
        QObject::connect(button, &QPushButton::clicked, &dialog,
                         [&dialog, id] { dialog.sendClick(id); });
        return button;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(&dialog);
        edit->setFrame(item.style & Style::border);
        edit->setFocusPolicy(focus);
        return edit;
    }
    case ControlKind::GroupBox: {
        auto* group = new QGroupBox(text, &dialog);
        group->setFocusPolicy(Qt::NoFocus);
        return group;
    }
    case ControlKind::Static: {
        auto* label = new QLabel(text, &dialog);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment((item.style & Style::staticCenter) ? Qt::AlignCenter
                                                               : Qt::AlignLeft | Qt::AlignVCenter);
        if (item.style & Style::staticSunken)
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextInteractionFlags(Qt::NoTextInteraction);
        return label;
    }
    case ControlKind::ProgressBar:
        return new ProgressBarWidget(&dialog);
    case ControlKind::UpDown: {
        auto* upDown = new UpDownWidget(&dialog);
        upDown->setBuddy(qobject_cast<QLineEdit*>(previous));
        return upDown;
    }
    case ControlKind::Animation: {
        auto* animation = new AnimationWidget(&dialog);
        animation->setBorder(item.style & Style::border);
        animation->setFocusPolicy(focus);
        return animation;
    }
    }
    auto* placeholder = new QFrame(&dialog);
    if (item.style & Style::border)
        placeholder->setFrameStyle(QFrame::Box | QFrame::Plain);
    placeholder->setFocusPolicy(focus);
    return placeholder;
}

} // namespace platform
