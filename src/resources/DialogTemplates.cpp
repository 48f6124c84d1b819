#include "resources/DialogTemplates.h"

#include "platform/gui/Style.h"
#include "resources/ControlIds.h"

#include <map>

namespace resources {

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogCommand;
using platform::DialogTemplate;
using platform::Style;

constexpr unsigned dialogStyle =
    Style::popup | Style::caption | Style::sysMenu | Style::modalFrame | Style::setFont;
constexpr unsigned child = Style::visible;
constexpr unsigned button = child | Style::tabStop;
constexpr unsigned edit = child | Style::border | Style::tabStop | Style::editAutoHScroll;
constexpr unsigned upDown =
    child | Style::upDownSetBuddyInt | Style::upDownAutoBuddy | Style::upDownArrowKeys;
constexpr unsigned label = child | Style::disabled;
constexpr unsigned value = child | Style::staticCenter | Style::staticSunken;
constexpr int none = -1;

ControlTemplate push(int id, const char* text, int x, int y, int cx, int cy) {
    return {id, ControlKind::PushButton, text, {x, y, cx, cy}, button, 0};
}

ControlTemplate group(const char* text, int x, int y, int cx, int cy) {
    return {none, ControlKind::GroupBox, text, {x, y, cx, cy}, child, 0};
}

ControlTemplate field(int id, int x, int y, int cx, int cy) {
    return {id, ControlKind::Edit, "", {x, y, cx, cy}, edit, 0};
}

ControlTemplate text(const char* words, unsigned style, int x, int y, int cx, int cy) {
    return {none, ControlKind::Static, words, {x, y, cx, cy}, style, 0};
}

ControlTemplate progress(int id, const char* shows, int x, int y, int cx, int cy) {
    return {id, ControlKind::ProgressBar, "", {x, y, cx, cy}, child | Style::border, 0, shows};
}

ControlTemplate arrows(int x, int y, int cx, int cy) {
    return {ControlIds::Split::arrows, ControlKind::UpDown, "", {x, y, cx, cy}, upDown, 0};
}

DialogTemplate dialog(int id, const char* caption, int cx, int cy,
                      std::vector<ControlTemplate> controls) {
    return {id, caption, cx, cy, "MS Sans Serif", 8, dialogStyle, 0, std::move(controls)};
}

DialogTemplate mainWindow() {
    namespace ids = ControlIds::MainWindow;
    DialogTemplate result = dialog(DialogTemplates::mainWindow, " Sun Drel ", 116, 159,
                                   {
                                       push(ids::splitBySize, "Split By &Size", 18, 18, 79, 16),
                                       push(ids::splitByNumber, "Split By &Number", 18, 34, 79, 16),
                                       push(ids::floppySplit, "Split To &Floppies", 18, 50, 79, 16),
                                       push(ids::join, "&Join Split Segments ", 18, 80, 79, 16),
                                       push(ids::about, "&About Sundrel", 18, 111, 79, 16),
                                       push(ids::exit, "E&xit Sun Drel", 18, 127, 79, 16),
                                       group("", 7, 4, 102, 69),
                                       group("", 7, 72, 102, 28),
                                       group("", 7, 102, 102, 46),
                                   });
    result.style |= Style::visible;
    result.exStyle = Style::exAppWindow;
    return result;
}

DialogTemplate about() {
    ControlTemplate ok = push(DialogCommand::ok, "O&K", 94, 56, 57, 17);
    ok.exStyle = Style::exDlgModalFrame;
    return dialog(DialogTemplates::about, "About Sundrel", 246, 73,
                  {
                      text("code by", label, 2, 22, 29, 11),
                      text("Sundrel developers", value, 34, 22, 81, 11),
                      text("email", label, 125, 22, 22, 11),
                      text("contact@sundrel.invalid", value, 151, 22, 90, 11),
                      text("version", label, 2, 41, 23, 11),
                      text("2-C", value, 34, 41, 50, 11),
                      text("url", label, 94, 41, 10, 11),
                      text("https://sundrel.invalid/", value, 112, 41, 129, 11),
                      ok,
                  });
}

DialogTemplate splitByNumber() {
    namespace ids = ControlIds::Split;
    return dialog(
        DialogTemplates::splitByNumber, "  Sun Drel    Split Files By Number ", 278, 127,
        {
            field(ids::path, 17, 19, 210, 13),
            push(ids::browse, "&Browse", 227, 19, 40, 13),
            group("", 7, 43, 263, 27),
            text("(2) &Enter the number of segments required  ...", child, 17, 54, 154, 11),
            field(ids::segmentCount, 191, 51, 36, 15),
            arrows(227, 51, 10, 14),
            push(ids::split, "Split &File !", 68, 103, 74, 18),
            push(DialogCommand::ok, "&Done", 142, 103, 74, 18),
            group("(1) &Select the  file to be split ", 7, 4, 264, 39),
            progress(ids::progress, "Progress of the split", 14, 81, 250, 13),
            group("", 7, 71, 263, 27),
        });
}

DialogTemplate splitBySize() {
    namespace ids = ControlIds::Split;
    return dialog(DialogTemplates::splitBySize, "  Sun Drel    Split files by size ", 280, 127,
                  {
                      field(ids::path, 17, 19, 210, 12),
                      push(ids::browse, "&Browse", 229, 19, 37, 12),
                      group("", 7, 44, 265, 28),
                      text("(2) &Enter the split segment size required ", child, 25, 56, 150, 11),
                      field(ids::segmentSize, 185, 54, 38, 13),
                      arrows(222, 53, 10, 14),
                      push(ids::split, "Split &File !", 70, 105, 71, 18),
                      push(DialogCommand::ok, "&Done", 141, 105, 71, 18),
                      group("(1) &Select  the  file to be split", 7, 3, 266, 41),
                      progress(ids::progress, "Progress of the split", 14, 83, 252, 12),
                      group("", 7, 73, 265, 28),
                  });
}

DialogTemplate join() {
    namespace ids = ControlIds::Join;
    return dialog(
        DialogTemplates::join, "Sun Drel   Join Split Segments", 288, 103,
        {
            field(ids::firstSegment, 13, 20, 221, 12),
            push(ids::browse, "&Browse", 235, 20, 40, 12),
            push(ids::join, "&Join", 73, 78, 69, 18),
            push(DialogCommand::ok, "&Done", 143, 78, 71, 18),
            group("(1) &Select the first split segment of the original file", 7, 3, 274, 39),
            progress(ids::progress, "Progress of the join", 13, 54, 261, 12),
            group("", 7, 43, 274, 28),
        });
}

DialogTemplate floppySplit() {
    namespace ids = ControlIds::FloppySplit;
    return dialog(DialogTemplates::floppySplit, "Sun drel - Split files to floppies", 288, 106,
                  {
                      group("&Enter the file to be split", 7, 3, 268, 41),
                      field(ids::path, 17, 18, 210, 13),
                      push(ids::browse, "&Browse", 230, 18, 36, 13),
                      push(ids::split, "&Split File !", 79, 50, 65, 18),
                      push(DialogCommand::ok, "&Done", 143, 50, 65, 18),
                      {ids::animation,
                       ControlKind::Animation,
                       "",
                       {53, 76, 181, 21},
                       child | Style::border | Style::tabStop,
                       0,
                       "Transfer to floppies"},
                  });
}

} // namespace

const platform::DialogTemplate* DialogTemplates::Find(int id) {
    static const std::map<int, DialogTemplate> templates = {
        {about, resources::about()},
        {mainWindow, resources::mainWindow()},
        {splitByNumber, resources::splitByNumber()},
        {splitBySize, resources::splitBySize()},
        {join, resources::join()},
        {floppySplit, resources::floppySplit()},
    };
    auto found = templates.find(id);
    return found == templates.end() ? nullptr : &found->second;
}

} // namespace resources
