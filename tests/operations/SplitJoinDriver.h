#pragma once

#include "common/CFile.h"
#include "common/CWinApp.h"
#include "operations/CJoinDlg.h"
#include "operations/CSplitByNumberDlg.h"
#include "operations/CSplitBySizeDlg.h"
#include "platform/gui/DialogCommand.h"
#include "platform/gui/DialogWindow.h"
#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/MessageBoxType.h"
#include "platform/gui/ProgressBar.h"
#include "platform/gui/WindowRegistry.h"
#include "resources/ControlIds.h"
#include "support/Modal.h"
#include "support/ScriptedServices.h"
#include "support/Ui.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace test {

enum Operation { byNumber, bySize, join };

using BoxType = platform::MessageBoxType;
using Answer = platform::MessageBoxAnswer;

struct Bar {
    int low = 0, high = 0, position = 0;
    bool operator==(const Bar&) const = default;
};

// The bar as it stands, and as a screen reader reads it: the same value.
inline Bar barOf(platform::Window dialog, int barId) {
    const platform::ProgressBar bar(dialog.child(barId));
    const Bar seen{bar.low(), bar.high(), bar.position()};
    QAccessibleInterface* read =
        QAccessible::queryAccessibleInterface(Ui::widget(dialog.child(barId)));
    if (read != nullptr && read->valueInterface() != nullptr && seen.low < seen.high) {
        EXPECT_EQ(read->valueInterface()->currentValue().toInt(), seen.position);
        EXPECT_EQ(read->valueInterface()->maximumValue().toInt(), seen.high);
    }
    return seen;
}

// A message box as the user saw it, with the bar behind it.
struct Box {
    std::string text, caption;
    unsigned type = 0;
    Bar bar;
    bool operator==(const Box&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Box& b) {
        return out << '"' << b.text << "\" \"" << b.caption << "\" 0x" << std::hex << b.type
                   << std::dec << " bar " << b.bar.high << "@" << b.bar.position;
    }
};

inline const std::string app = CWinApp::DisplayName();
inline const Bar untouched{0, 100, 0};

// The bar of a split or join of total bytes once moved of them have reached their destination:
// it counts bytes, halved while the total is beyond a 32-bit range, and 0 to 1 when there are none.
inline Bar bytesMoved(std::uint64_t total, std::uint64_t moved) {
    int shift = 0;
    while ((total >> shift) > std::uint64_t(INT_MAX))
        ++shift;
    return {0, total == 0 ? 1 : int(total >> shift), int(moved >> shift)};
}
inline Bar filled(std::uint64_t total) {
    const Bar bar = bytesMoved(total, total);
    return {0, bar.high, bar.high};
}

// The message that ends a split or a join that worked.
inline Box success(Operation operation, Bar bar) {
    if (operation == join)
        return {"File Joined ", app, BoxType::ok, bar};
    return {" The file has been split ! ",
            operation == byNumber ? "Sun Drel - split by number " : "Sun Drel - split by size ",
            BoxType::iconInformation, bar};
}

struct Outcome {
    std::vector<Box> boxes;
    int busyPumps = 0; // events pumped while the dialog worked
    Bar after;         // once the last box was answered
    bool open = false; // the dialog was still open then
    bool held = false; // the path typed could not be opened again behind the first box
    std::string kept;  // the dialog's members then, "path|amount"
};

using Hook = std::function<void(platform::Window dialog)>;

// How the dialog looks to the user: working (the busy pointer over the program, the action button
// and Done greyed), asking whether to stop (the plain pointer over the greyed buttons) or idle
// (the plain pointer, both buttons on).
enum class Look { working, asking, idle, mixed };
inline Look lookOf(platform::Window dialog, int actionId) {
    const QCursor* cursor = QApplication::overrideCursor();
    const int buttonsOn =
        dialog.child(actionId).isEnabled() + dialog.child(platform::DialogCommand::ok).isEnabled();
    if (cursor == nullptr)
        return buttonsOn == 2 ? Look::idle : Look::mixed;
    if (buttonsOn != 0)
        return Look::mixed;
    return cursor->shape() == Qt::BusyCursor    ? Look::working
           : cursor->shape() == Qt::ArrowCursor ? Look::asking
                                                : Look::mixed;
}
inline bool isWorking(platform::Window dialog) {
    const auto* window =
        dynamic_cast<platform::DialogWindow*>(platform::WindowRegistry::widget(dialog.handle()));
    return window != nullptr && window->isBusy();
}

// One opening of a split or join dialog, driven as a user drives it: the path (and the count or
// size) typed, then for each entry of `clicks` that hook run and the action button clicked, the
// message boxes answered in turn. `whileMoving` runs at every event pump of the work.
inline Outcome drive(Operation operation, const std::string& path, const std::string& amount = {},
                     const std::vector<int>& answers = {Answer::ok}, Hook whileMoving = {},
                     const std::vector<Hook>& clicks = {nullptr}) {
    namespace Split = resources::ControlIds::Split;
    namespace Join = resources::ControlIds::Join;
    const int ids[3][4] = {{Split::path, Split::segmentCount, Split::split, Split::progress},
                           {Split::path, Split::segmentSize, Split::split, Split::progress},
                           {Join::firstSegment, 0, Join::join, Join::progress}};
    const auto [pathId, amountId, actionId, barId] = ids[operation];
    CSplitByNumberDlg number;
    CSplitBySizeDlg size;
    CJoinDlg joinDialog;
    CDialog* dialogs[] = {&number, &size, &joinDialog};
    Outcome outcome;
    platform::Window window;
    ScriptedMessageBoxes boxes;
    for (const int button : answers)
        boxes.answer([&, button](const ScriptedMessageBoxes::Shown& shown) {
            outcome.boxes.push_back({shown.text, shown.caption, shown.type, barOf(window, barId)});
            EXPECT_EQ(lookOf(window, actionId), isWorking(window) ? Look::asking : Look::idle)
                << "behind " << shown.text;
            CFile again;
            CFileException error;
            outcome.held |= outcome.boxes.size() == 1 &&
                            !again.Open(path, CFile::modeRead, &error) &&
                            error.m_cause == CFileException::sharingViolation;
            return button;
        });
    Modal::run(
        *dialogs[operation],
        [&](platform::Window shown) {
            window = shown;
            if (std::any_of(path.begin(), path.end(), [](char c) { return c & 0x80; }))
                window.child(pathId).setText(path); // the test keyboard lacks the keys
            else
                Ui::type(window, pathId, path);
            if (amountId != 0)
                Ui::type(window, amountId, amount);
            QTimer pump;
            QObject::connect(&pump, &QTimer::timeout, [&] {
                if (isWorking(window)) {
                    ++outcome.busyPumps;
                    EXPECT_EQ(lookOf(window, actionId), Look::working);
                }
                if (whileMoving)
                    whileMoving(window);
            });
            pump.start(0);
            for (const Hook& before : clicks) {
                if (before)
                    before(window);
                Ui::click(window, actionId);
            }
            pump.stop();
            EXPECT_EQ(lookOf(window, actionId), Look::idle) << "after the work";
            outcome.after = barOf(window, barId);
            outcome.open = window.isVisible();
        },
        280);
    outcome.kept = operation == join ? joinDialog.m_strFirstSegment
                   : operation == byNumber
                       ? number.m_strPath + "|" + std::to_string(number.m_nSegments)
                       : size.m_strPath + "|" + std::to_string(size.m_nSize);
    return outcome;
}

} // namespace test
