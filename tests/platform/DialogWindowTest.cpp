#include "platform/DialogHost.h"
#include "platform/ProgressBar.h"
#include "platform/UpDown.h"
#include "platform/WindowRegistry.h"
#include "resources/DialogTemplates.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using platform::DialogHost;
using platform::Window;

// Records what a dialog reports and ends it on command 2, as a dialog object would.
class Recorder final : public platform::DialogEvents {
public:
    std::vector<int> commands;
    std::function<void(Window)> body;

    bool onInitDialog(Window dialog) override {
        m_dialog = dialog;
        QTimer::singleShot(0, [this] {
            body(m_dialog);
            DialogHost::endModal(m_dialog, 99);
        });
        return true;
    }
    void onCommand(int id) override { commands.push_back(id); }
    void onSysCommand(unsigned) override {}
    void onHelpKey() override { commands.push_back(-1); }

private:
    Window m_dialog;
};

QWidget* widget(Window window) { return platform::WindowRegistry::widget(window.handle()); }

std::vector<int> commandsFrom(int templateId, const std::function<void(Window)>& body) {
    Recorder recorder;
    recorder.body = body;
    EXPECT_EQ(DialogHost::runModal(*resources::DialogTemplates::Find(templateId), recorder), 99);
    return recorder.commands;
}

TEST(DialogKeys, EnterEscCloseBoxAndF1BecomeCommands) {
    struct Row {
        const char* name;
        std::function<void(Window)> act;
        std::vector<int> expected;
    };
    const Row rows[] = {
        {"Enter in an edit field is OK",
         [](Window w) { QTest::keyClick(widget(w.child(1001)), Qt::Key_Return); }, {1}},
        {"Enter on a focused button presses it",
         [](Window w) {
             widget(w.child(1003))->setFocus();
             QTest::keyClick(widget(w.child(1003)), Qt::Key_Return);
         },
         {1003}},
        {"Esc is Cancel", [](Window w) { QTest::keyClick(widget(w.child(1001)), Qt::Key_Escape); }, {2}},
        {"the close box is Cancel", [](Window w) { widget(w)->close(); }, {2}},
        {"F1 asks for help", [](Window w) { QTest::keyClick(widget(w.child(1001)), Qt::Key_F1); }, {-1}},
        {"Shift+F1 does nothing",
         [](Window w) { QTest::keyClick(widget(w.child(1001)), Qt::Key_F1, Qt::ShiftModifier); }, {}},
        {"Alt and a mnemonic press the button",
         [](Window w) { QTest::keyClick(widget(w.child(1001)), Qt::Key_F, Qt::AltModifier); }, {1003}},
        {"a plain letter in an edit field is typed, not a mnemonic",
         [](Window w) { QTest::keyClick(widget(w.child(1001)), Qt::Key_F); }, {}},
        {"a plain mnemonic letter while a button has the focus presses that button",
         [](Window w) {
             widget(w.child(1002))->setFocus();
             QTest::keyClick(widget(w.child(1002)), Qt::Key_D);
         },
         {1}},
        {"a busy dialog takes no command",
         [](Window w) {
             DialogHost::setBusy(w, true);
             widget(w)->close();
             QTest::keyClick(widget(w.child(1001)), Qt::Key_Escape);
             DialogHost::setBusy(w, false);
         },
         {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(commandsFrom(resources::DialogTemplates::splitByNumber, row.act), row.expected) << row.name;
}

TEST(DialogKeys, LabelMnemonicMovesTheFocusToTheFieldAfterIt) {
    commandsFrom(resources::DialogTemplates::splitByNumber, [](Window w) {
        QTest::keyClick(widget(w.child(1001)), Qt::Key_E, Qt::AltModifier);
        EXPECT_EQ(widget(w)->focusWidget(), widget(w.child(1004)));
    });
}

TEST(ProgressBar, NewRangeEmptiesAFullBarAndSteppingPastTheTopStartsOver) {
    commandsFrom(resources::DialogTemplates::join, [](Window w) {
        platform::ProgressBar bar(w.child(1020));
        bar.setRange(0, 3);
        bar.setStep(1);
        for (int i = 0; i < 3; ++i)
            bar.stepIt();
        EXPECT_EQ(bar.position(), 3);
        bar.setRange(0, 0);
        bar.setRange(0, 5);
        EXPECT_EQ(bar.position(), 0);
        bar.setPosition(5);
        bar.stepIt();
        EXPECT_EQ(bar.position(), 1);
        EXPECT_EQ(bar.low(), 0);
        EXPECT_EQ(bar.high(), 5);
    });
}

TEST(UpDown, ArrowsStartFromTheFieldHoldAtTheEndsAndWriteTheGroupSeparator) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    commandsFrom(resources::DialogTemplates::splitByNumber, [](Window w) {
        platform::UpDown arrows(w.child(1013));
        arrows.setRange(2, 1000);
        EXPECT_EQ(arrows.buddy().handle(), w.child(1004).handle());
        auto* field = qobject_cast<QLineEdit*>(widget(w.child(1004)));
        field->setText("998");
        arrows.step(+1);
        EXPECT_EQ(field->text(), "999");
        QTest::keyClick(field, Qt::Key_Up);
        EXPECT_EQ(field->text(), "1,000");
        QTest::keyClick(field, Qt::Key_Up);
        EXPECT_EQ(field->text(), "1,000");
        field->setText("junk");
        arrows.step(-1); // unreadable text: the last position is the starting point
        EXPECT_EQ(field->text(), "999");
        field->setText("-40");
        QTest::keyClick(field, Qt::Key_Down);
        EXPECT_EQ(field->text(), "2");
    });
    QLocale::setDefault(QLocale::c());
}

TEST(DialogUnits, ControlsScaleWithTheDialogFont) {
    commandsFrom(resources::DialogTemplates::mainWindow, [](Window w) {
        const platform::ScreenRect button = w.child(1000).rect();
        const platform::ScreenRect units = w.mapDialogRect({18, 18, 79, 16});
        EXPECT_EQ(button.width(), units.width());
        EXPECT_EQ(button.height(), units.height());
        EXPECT_EQ(w.text(), " Sun Drel ");
    });
}

} // namespace
