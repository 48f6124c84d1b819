#include "platform/gui/UpDownWidget.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>

#include <algorithm>

namespace platform {

namespace {

QToolButton* makeArrow(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

UpDownWidget::UpDownWidget(QWidget* parent) : QWidget(parent) {
    auto* up = makeArrow(this, Qt::UpArrow);
    auto* down = makeArrow(this, Qt::DownArrow);
    connect(up, &QToolButton::clicked, this, [this] { stepBy(+1); });
    connect(down, &QToolButton::clicked, this, [this] { stepBy(-1); });
    m_up = up;
    m_down = down;
    setFocusPolicy(Qt::NoFocus);
}

void UpDownWidget::setBuddy(QLineEdit* buddy) {
    if (m_buddy)
        m_buddy->removeEventFilter(this);
    m_buddy = buddy;
    if (m_buddy) {
        m_buddy->installEventFilter(this);
        connect(buddy, &QLineEdit::textChanged, this, &UpDownWidget::announceValue);
    }
}

QLineEdit* UpDownWidget::buddy() const {
    return qobject_cast<QLineEdit*>(m_buddy.data());
}

void UpDownWidget::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
}

int UpDownWidget::value() const {
    const int low = std::min(m_minimum, m_maximum);
    const int high = std::max(m_minimum, m_maximum);
    int number = m_position;
    if (QLineEdit* field = buddy()) {
        QString text = field->text().trimmed();
        text.remove(QLocale().groupSeparator());
        bool parsed = false;
        const int typed = text.toInt(&parsed);
        if (parsed)
            number = typed;
    }
    return std::clamp(number, low, high);
}

void UpDownWidget::stepBy(int direction) {
    // A range given high to low turns the arrows round, as it does on the desktop's own control.
    const int sign = m_minimum <= m_maximum ? 1 : -1;
    setValue(value() + direction * sign);
}

void UpDownWidget::setValue(int number) {
    m_position = std::clamp(number, std::min(m_minimum, m_maximum), std::max(m_minimum, m_maximum));
    if (QLineEdit* field = buddy())
        // Plain digits in every locale: the field is read back as a number with no separators.
        field->setText(QString::number(m_position));
}

void UpDownWidget::announceValue() {
    // A screen reader hears the new number whether the arrows, a key or typing changed it.
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(this, value());
    QAccessible::updateAccessibility(&event);
}

bool UpDownWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == m_buddy.data()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            stepBy(key->key() == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDownWidget::resizeEvent(QResizeEvent*) {
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}

} // namespace platform
