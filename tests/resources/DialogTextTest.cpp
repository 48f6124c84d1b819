#include "platform/gui/DialogWindow.h"
#include "resources/DialogTemplates.h"

#include <QApplication>
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
// The desktop's default font size, as its platform theme reports it (Qt's own default is 9 points):
// the dialogs' fonts follow it, and their dialog units with them.
class DialogText : public testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        QFont desktop = QApplication::font();
        desktop.setPointSize(GetParam());
        QApplication::setFont(desktop);
    }
    void TearDown() override { QApplication::setFont(m_toolkitDefault); }

  private:
    QFont m_toolkitDefault = QApplication::font();
};

TEST_P(DialogText, EveryStaticTextFitsItsBox) {
    for (const int id :
         {DialogTemplates::about, DialogTemplates::mainWindow, DialogTemplates::splitByNumber,
          DialogTemplates::splitBySize, DialogTemplates::join, DialogTemplates::floppySplit}) {
        NoEvents events;
        const platform::DialogWindow window(*DialogTemplates::Find(id), events, nullptr);
        EXPECT_NEAR(window.font().pointSizeF(),
                    DialogTemplates::Find(id)->pointSize * GetParam() / 9.0, 0.01)
            << "dialog " << id;
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

INSTANTIATE_TEST_SUITE_P(DesktopPoints, DialogText, testing::Values(9, 14));

} // namespace
