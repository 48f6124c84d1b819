#include "platform/gui/ProgressBarWidget.h"

#include <algorithm>
#include <cstdint>

namespace platform {

ProgressBarWidget::ProgressBarWidget(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(false);
    refresh();
}

void ProgressBarWidget::setRange32(int low, int high) {
    m_low = low;
    m_high = high;
    // A new range pulls the position inside it, which is how a full bar is emptied.
    if (m_low <= m_high)
        m_position = std::clamp(m_position, m_low, m_high);
    else
        m_position = m_low;
    refresh();
}

void ProgressBarWidget::stepIt() {
    std::int64_t next = static_cast<std::int64_t>(m_position) + m_step;
    // Stepping past the top starts over from the bottom, as the desktop's own control does.
    if (next > m_high)
        next = m_low + (next - m_high);
    if (next < m_low || next > m_high)
        next = m_low;
    m_position = static_cast<int>(next);
    refresh();
}

void ProgressBarWidget::setPosition(int position) {
    m_position = m_low <= m_high ? std::clamp(position, m_low, m_high) : m_low;
    refresh();
}

void ProgressBarWidget::refresh() {
    if (m_low < m_high) {
        QProgressBar::setRange(m_low, m_high);
        QProgressBar::setValue(m_position);
    } else {
        QProgressBar::setRange(0, 1);
        QProgressBar::setValue(0);
    }
}

} // namespace platform
