#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

class QPoint;
class QWidget;

namespace platform {

// A dialog's own system menu: Minimize and Close, then the entries the dialog appended (an empty
// text is a separator). A dialog that appended none has no menu of its own.
class DialogSystemMenu final {
  public:
    void append(const std::string& text, unsigned id);
    bool empty() const { return m_extras.empty(); }
    // Shows the menu at a screen position and answers the command chosen, if any.
    std::optional<unsigned> exec(QWidget* owner, const QPoint& globalPosition) const;

  private:
    std::vector<std::pair<std::string, unsigned>> m_extras;
};

} // namespace platform
