#include "platform/gui/DialogSystemMenu.h"

#include "platform/gui/QtText.h"
#include "platform/gui/SystemCommand.h"

#include <QMenu>

namespace platform {

void DialogSystemMenu::append(const std::string& text, unsigned id) {
    m_extras.emplace_back(text, id);
}

std::optional<unsigned> DialogSystemMenu::exec(QWidget* owner, const QPoint& globalPosition) const {
    QMenu menu(owner);
    menu.addAction(QStringLiteral("Mi&nimize"))->setData(unsigned{SystemCommand::minimize});
    menu.addAction(QStringLiteral("&Close"))->setData(unsigned{SystemCommand::close});
    for (const auto& [text, id] : m_extras) {
        if (text.empty())
            menu.addSeparator();
        else
            menu.addAction(QtText::fromBytes(text))->setData(id);
    }
    QAction* chosen = menu.exec(globalPosition);
    if (chosen == nullptr)
        return std::nullopt;
    return chosen->data().toUInt();
}

} // namespace platform
