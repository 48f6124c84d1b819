#include "platform/gui/AccessibleNames.h"

#include "platform/gui/QtText.h"

#include <QWidget>

namespace platform {

namespace {

bool contains(const DialogUnitRect& outer, const DialogUnitRect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.cx <= outer.x + outer.cx &&
           inner.y + inner.cy <= outer.y + outer.cy;
}

} // namespace

void AccessibleNames::apply(const std::vector<ControlTemplate>& items,
                            const std::vector<QWidget*>& controls) {
    for (std::size_t i = 0; i < items.size() && i < controls.size(); ++i) {
        const std::string name = nameOf(items, i);
        if (!name.empty())
            controls[i]->setAccessibleName(withoutMnemonic(QtText::fromBytes(name)));
    }
}

std::string AccessibleNames::nameOf(const std::vector<ControlTemplate>& items, std::size_t index) {
    const ControlTemplate& control = items[index];
    if (!control.name.empty())
        return control.name;
    if (control.kind != ControlKind::Edit)
        return {};
    if (index > 0 && items[index - 1].kind == ControlKind::Static && !items[index - 1].text.empty())
        return items[index - 1].text;
    return captionFraming(items, control);
}

std::string AccessibleNames::captionFraming(const std::vector<ControlTemplate>& items,
                                            const ControlTemplate& control) {
    for (const ControlTemplate& group : items) {
        if (group.kind == ControlKind::GroupBox && !group.text.empty() &&
            contains(group.rect, control.rect))
            return group.text;
    }
    return {};
}

QString AccessibleNames::withoutMnemonic(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        result += text[i];
    }
    return result;
}

} // namespace platform
