#pragma once

#include <QObject>
#include <QString>

class QMessageBox;

namespace platform {

// A message box's text as the user meets it. A word wider than the box (a long file name) would
// run past its edge and hide what follows it, such as a segment's number: long words get
// invisible break opportunities between their letters on screen, while a screen reader reads, and
// a copy of the box's text takes, the text itself.
class MessageBoxText final : public QObject {
  public:
    static void apply(QMessageBox& box, const QString& text);

  private:
    explicit MessageBoxText(QObject* parent) : QObject(parent) {}
};

} // namespace platform
