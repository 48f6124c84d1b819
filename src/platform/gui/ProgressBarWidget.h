#pragma once

#include <QProgressBar>

namespace platform {

// A progress bar that keeps the requested range, step and position exactly as given and shows
// them as well as a bar can: a reversed or empty range shows an empty bar.
class ProgressBarWidget final : public QProgressBar {
  public:
    explicit ProgressBarWidget(QWidget* parent);

    void setRange32(int low, int high);
    void setStepSize(int step) { m_step = step; }
    void stepIt();
    void setPosition(int position);

    int low() const { return m_low; }
    int high() const { return m_high; }
    int stepSize() const { return m_step; }
    int position() const { return m_position; }

  private:
    void refresh();

    int m_low = 0;
    int m_high = 100;
    int m_step = 10;
    int m_position = 0;
};

} // namespace platform
