#include "platform/gui/AnimationWidget.h"

#include <QPainter>

#include <algorithm>

namespace platform {

AnimationWidget::AnimationWidget(QWidget* parent) : QWidget(parent) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &AnimationWidget::advance);
}

bool AnimationWidget::open(std::span<const unsigned char> aviBytes) {
    close();
    m_clip = AviClip::parse(aviBytes);
    if (!m_clip)
        return false;
    // Not centred, the control takes the clip's size: the clip fills it from the top-left corner,
    // whatever size the dialog gave the control.
    resize(sizeHint());
    updateGeometry();
    update();
    return true;
}

void AnimationWidget::close() {
    stop();
    m_clip.reset();
    m_current = 0;
    updateGeometry();
    update();
}

bool AnimationWidget::play(int from, int to, int repeat) {
    if (!m_clip)
        return false;
    if (to == lastFrame)
        to = m_clip->frameCount() - 1;
    if (from < 0 || from > to || to >= m_clip->frameCount() || repeat < withoutEnd)
        return false;
    stop();
    showFrame(from);
    if (repeat == 0)
        return true;
    m_from = from;
    m_to = to;
    m_passesLeft = repeat == withoutEnd ? withoutEnd : repeat - 1;
    const auto milliseconds =
        std::max<std::uint32_t>(1, (m_clip->microSecondsPerFrame() + 500) / 1000);
    m_timer.start(static_cast<int>(std::min<std::uint32_t>(milliseconds, 1u << 30)));
    return true;
}

void AnimationWidget::stop() {
    m_timer.stop();
}

void AnimationWidget::advance() {
    if (m_current < m_to) {
        showFrame(m_current + 1);
        return;
    }
    if (m_passesLeft == 0) {
        stop();
        return;
    }
    if (m_passesLeft != withoutEnd)
        --m_passesLeft;
    showFrame(m_from);
}

void AnimationWidget::showFrame(int index) {
    m_current = index;
    update();
}

void AnimationWidget::setBorder(bool border) {
    m_border = border;
    updateGeometry();
    update();
}

QSize AnimationWidget::sizeHint() const {
    const int frame = m_border ? 2 : 0;
    if (!m_clip)
        return {frame, frame};
    return {m_clip->width() + frame, m_clip->height() + frame};
}

void AnimationWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const int inset = m_border ? 1 : 0;
    if (m_clip) {
        // The frame keeps its own size at the top-left corner, clipped by the control.
        painter.save();
        painter.setClipRect(rect().adjusted(inset, inset, -inset, -inset));
        painter.drawImage(QPoint(inset, inset), m_clip->frame(m_current));
        painter.restore();
    }
    if (m_border) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

} // namespace platform
