#include "platform/gui/DialogWindow.h"
#include "resources/DialogTemplates.h"

#include <QFontInfo>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

using resources::DialogTemplates;

struct NoEvents final : platform::DialogEvents {
    bool onInitDialog(platform::Window) override { return true; }
    void onCommand(int) override {}
    void onSysCommand(unsigned) override {}
    void onHelpKey() override {}
};

// A text cut at its box's edge loses what the user needs (an address, a prompt). Each static text
// is measured in the font the dialog really uses (its advance width, as text is laid out), against
// its rectangle as the dialog converts it from dialog units.
TEST(DialogText, EveryStaticTextFitsItsBox) {
    for (const int id :
         {DialogTemplates::about, DialogTemplates::mainWindow, DialogTemplates::splitByNumber,
          DialogTemplates::splitBySize, DialogTemplates::join, DialogTemplates::floppySplit}) {
        NoEvents events;
        const platform::DialogWindow window(*DialogTemplates::Find(id), events, nullptr);
        for (QWidget* control : window.controlsInOrder()) {
            const auto* label = qobject_cast<const QLabel*>(control);
            if (label == nullptr)
                continue;
            QString shown = label->text();
            if (label->buddy() != nullptr)
                shown.remove(QLatin1Char('&'));
            const QRect box = label->contentsRect();
            const std::string where = "dialog " + std::to_string(id) + ", \"" +
                                      shown.toStdString() + "\" in " +
                                      QFontInfo(label->font()).family().toStdString();
            EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), box.width()) << where;
            EXPECT_LE(label->fontMetrics().height(), box.height()) << where;
        }
    }
}

} // namespace
