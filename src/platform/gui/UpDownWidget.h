#pragma once

#include <QPointer>
#include <QWidget>

class QLineEdit;

namespace platform {

// Two arrow buttons that step a number in their buddy edit field: the text in the field, brought
// into the range, is the starting point, and the new value is written back with the locale's
// group separator. The ends of the range hold; nothing wraps.
class UpDownWidget final : public QWidget {
  public:
    explicit UpDownWidget(QWidget* parent);

    void setBuddy(QLineEdit* buddy);
    QLineEdit* buddy() const;
    void setRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int position() const { return m_position; }
    // The value the arrows step from: the number in the field, brought into the range.
    int value() const;
    // Brings the number into the range and writes it into the field.
    void setValue(int number);
    // One step up (+1) or down (-1), as the arrows and the Up and Down keys do.
    void stepBy(int direction);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void announceValue();

    // Held as a plain widget: the field may be part-way through its destruction when events arrive.
    QPointer<QWidget> m_buddy;
    QWidget* m_up = nullptr;
    QWidget* m_down = nullptr;
    int m_minimum = 100; // the desktop control's own default range runs from 100 down to 0
    int m_maximum = 0;
    int m_position = 0;
};

} // namespace platform
