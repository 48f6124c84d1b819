#include "app/CAboutDlg.h"
#include "app/CMainDlg.h"

#include "support/Modal.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/Ui.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>

namespace {

using platform::Window;
using test::Modal;
using test::Ui;

QRect pixels(Window dialog, const platform::DialogUnitRect& units) {
    const platform::ScreenRect r = dialog.mapDialogRect(units);
    return QRect(r.left, r.top, r.width(), r.height());
}

struct ButtonRow {
    int id;
    const char* text;
    platform::DialogUnitRect at;
};

TEST(MainWindowLayout, SixButtonsWithTheirTextsAndPlacesThreeFramesAndTheIcon) {
    const std::vector<ButtonRow> buttons{
        {1000, "Split By &Size", {18, 18, 79, 16}},
        {1002, "Split By &Number", {18, 34, 79, 16}},
        {1001, "Split To &Floppies", {18, 50, 79, 16}},
        {1006, "&Join Split Segments ", {18, 80, 79, 16}},
        {1017, "&About Sundrel", {18, 111, 79, 16}},
        {2, "E&xit Sun Drel", {18, 127, 79, 16}},
    };
    CMainDlg main;
    Modal::run(main, [&](Window window) {
        QWidget* top = Ui::widget(window);
        EXPECT_EQ(top->size(), pixels(window, {0, 0, 116, 159}).size());
        EXPECT_EQ(top->minimumSize(), top->maximumSize()) << "not resizable";
        EXPECT_FALSE(top->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(top->windowFlags() & Qt::WindowMaximizeButtonHint);
        for (const auto& row : buttons) {
            auto* button = qobject_cast<QPushButton*>(Ui::control(window, row.id));
            ASSERT_NE(button, nullptr) << row.id;
            EXPECT_EQ(button->text().toStdString(), row.text);
            EXPECT_EQ(button->geometry(), pixels(window, row.at)) << row.text;
            EXPECT_FALSE(button->isDefault()) << row.text;
            EXPECT_TRUE(button->isVisible()) << row.text;
        }
        std::vector<QRect> frames;
        for (auto* group : top->findChildren<QGroupBox*>()) {
            EXPECT_TRUE(group->title().isEmpty());
            frames.push_back(group->geometry());
        }
        std::sort(frames.begin(), frames.end(),
                  [](const QRect& a, const QRect& b) { return a.top() < b.top(); });
        EXPECT_EQ(frames, (std::vector<QRect>{pixels(window, {7, 4, 102, 69}),
                                              pixels(window, {7, 72, 102, 28}),
                                              pixels(window, {7, 102, 102, 46})}));
        const QIcon icon = top->windowIcon();
        ASSERT_FALSE(icon.isNull());
        EXPECT_FALSE(icon.pixmap(32, 32).isNull());
        EXPECT_FALSE(icon.pixmap(16, 16).isNull());
    });
}

struct LabelRow {
    const char* text; // nullptr: any text of the maker's choosing
    bool value;
    platform::DialogUnitRect at;
};

TEST(AboutBoxLayout, FourLabelsAndValuesAndTheOkButton) {
    const std::vector<LabelRow> labels{
        {"code by", false, {2, 22, 29, 11}}, {nullptr, true, {34, 22, 81, 11}},
        {"email", false, {125, 22, 22, 11}}, {nullptr, true, {151, 22, 90, 11}},
        {"version", false, {2, 41, 23, 11}}, {"2-C", true, {34, 41, 50, 11}},
        {"url", false, {94, 41, 10, 11}},    {nullptr, true, {112, 41, 129, 11}},
    };
    CAboutDlg about;
    Modal::run(about, [&](Window window) {
        QWidget* top = Ui::widget(window);
        EXPECT_EQ(top->size(), pixels(window, {0, 0, 246, 73}).size());
        const auto found = top->findChildren<QLabel*>();
        ASSERT_EQ(found.size(), qsizetype(labels.size()));
        for (std::size_t i = 0; i < labels.size(); ++i) {
            QLabel* label = found[qsizetype(i)];
            const auto& row = labels[i];
            if (row.text != nullptr)
                EXPECT_EQ(label->text().toStdString(), row.text);
            else
                EXPECT_FALSE(label->text().isEmpty());
            EXPECT_EQ(label->geometry(), pixels(window, row.at)) << i;
            EXPECT_EQ(label->isEnabled(), row.value) << "labels are greyed, values are not: " << i;
            if (row.value) {
                EXPECT_TRUE(label->alignment() & Qt::AlignHCenter) << i;
                EXPECT_EQ(label->frameShadow(), QFrame::Sunken) << i;
            }
        }
        auto* ok = qobject_cast<QPushButton*>(Ui::control(window, 1));
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), "O&K");
        EXPECT_EQ(ok->geometry(), pixels(window, {94, 56, 57, 17}));
        EXPECT_EQ(top->focusWidget(), ok);
    });
}

struct AboutClose {
    const char* name;
    std::function<void(Window)> close;
};

void PrintTo(const AboutClose& row, std::ostream* out) {
    *out << row.name;
}

class AboutBoxCloses : public ::testing::TestWithParam<AboutClose> {};

TEST_P(AboutBoxCloses, ByEveryWay) {
    CAboutDlg about;
    Modal::run(about, [&](Window window) {
        GetParam().close(window);
        EXPECT_FALSE(window.isVisible());
    });
}

INSTANTIATE_TEST_SUITE_P(
    Ways, AboutBoxCloses,
    ::testing::Values(AboutClose{"AltK", [](Window w) { Ui::key(w, Qt::Key_K, Qt::AltModifier); }},
                      AboutClose{"Enter", [](Window w) { Ui::key(w, Qt::Key_Return); }},
                      AboutClose{"Escape", [](Window w) { Ui::key(w, Qt::Key_Escape); }},
                      AboutClose{"ClickOk", [](Window w) { Ui::click(w, 1); }},
                      AboutClose{"CloseBox",
                                 [](Window w) { Ui::widget(w)->windowHandle()->close(); }}),
    [](const auto& row) { return std::string(row.param.name); });

struct TitleRow {
    const char* name;
    std::optional<Qt::Key> open;
    const char* caption;
};

void PrintTo(const TitleRow& row, std::ostream* out) {
    *out << row.name;
}

class WindowTitle : public ::testing::TestWithParam<TitleRow> {};

// Blanks included and nothing appended: the desktop shows exactly the caption.
TEST_P(WindowTitle, IsExactlyTheCaption) {
    test::ScriptedMessageBoxes boxes;
    CMainDlg main;
    const auto check = [&](Window window) {
        QWidget* top = Ui::widget(window);
        EXPECT_EQ(top->windowTitle().toStdString(), GetParam().caption);
        ASSERT_NE(top->windowHandle(), nullptr);
        EXPECT_EQ(top->windowHandle()->title().toStdString(), GetParam().caption);
        EXPECT_EQ(window.text(), GetParam().caption);
    };
    Modal::run(main, [&](Window window) {
        if (!GetParam().open)
            check(window);
        else
            Modal::whenOpens([&] { Ui::key(window, *GetParam().open, Qt::AltModifier); }, check);
    });
}

INSTANTIATE_TEST_SUITE_P(
    EveryWindow, WindowTitle,
    ::testing::Values(TitleRow{"MainWindow", std::nullopt, " Sun Drel "},
                      TitleRow{"AboutBox", Qt::Key_A, "About Sundrel"},
                      TitleRow{"SplitByNumber", Qt::Key_N, "  Sun Drel    Split Files By Number "},
                      TitleRow{"SplitBySize", Qt::Key_S, "  Sun Drel    Split files by size "},
                      TitleRow{"Join", Qt::Key_J, "Sun Drel   Join Split Segments"},
                      TitleRow{"Floppies", Qt::Key_F, "Sun drel - Split files to floppies"}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
