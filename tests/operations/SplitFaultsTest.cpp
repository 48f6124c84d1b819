#include "common/CFile.h"
#include "common/CSegmentName.h"
#include "common/CWinApp.h"
#include "operations/CSplitByNumberDlg.h"
#include "operations/CSplitBySizeDlg.h"
#include "operations/SplitDriver.h"
#include "platform/DialogHost.h"
#include "support/Files.h"
#include "support/Modal.h"
#include "support/ScratchTmpfs.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempDir.h"
#include "support/Ui.h"

#include <QLocale>
#include <QWidget>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

namespace {

using test::Files;
using test::SplitDriver;
using Boxes = std::vector<SplitDriver::Box>;

constexpr std::uint64_t KiB = 1024;
constexpr std::uint64_t MiB = 1024 * KiB;

// The two splits share their faults; each row is run through both dialogs.
struct Kind {
    const char* name;
    std::function<std::unique_ptr<CDialog>()> make;
    int amountId;
    // The kept path and amount, as the dialog object holds them.
    std::function<std::string(CDialog&)> kept;
};

const Kind kinds[] = {
    {"by number", [] { return std::make_unique<CSplitByNumberDlg>(); }, 1004,
     [](CDialog& d) {
         auto& dialog = static_cast<CSplitByNumberDlg&>(d);
         return dialog.m_strPath + "|" + std::to_string(dialog.m_nSegments);
     }},
    {"by size", [] { return std::make_unique<CSplitBySizeDlg>(); }, 1005,
     [](CDialog& d) {
         auto& dialog = static_cast<CSplitBySizeDlg&>(d);
         return dialog.m_strPath + "|" + std::to_string(dialog.m_nSize);
     }},
};

// What one row works on. The source lies next to the segments it is cut into.
struct Scene {
    test::TempDir dir;
    std::unique_ptr<test::ScratchTmpfs> medium;
    std::unique_ptr<CFile> holder;
    std::string source;
    std::string bytes;
    std::string earlierSegmentsBase; // where the finished segments are, when not at the source
    std::map<std::string, std::string> untouched; // files that must keep these bytes
    bool acted = false;

    // Mounts a tmpfs of that size for the source; false (with the reason) when not permitted.
    bool onMedium(const std::string& options, std::string& reason) {
        medium = std::make_unique<test::ScratchTmpfs>(dir.path(), options);
        reason = medium->failure();
        return medium->mounted();
    }
    void writeSource(const std::string& path, std::uint64_t length) {
        source = path;
        bytes = Files::pattern(length, 3);
        Files::write(source, bytes);
    }
};

struct Fault {
    const char* label;
    // Prepares the scene; false with a reason when the machine does not allow it.
    std::function<bool(Scene&, std::string& reason)> setup;
    const char* count;
    const char* size;
    std::function<void(Scene&)> whileMoving; // may be empty
    std::function<std::string(const Scene&)> report;
    int written; // segments finished before the fault, and the bar's position
    int segments;
    std::uint64_t segmentLength;
};

TEST(SplitFaults, AFileErrorEndsTheSplitWithTheReportAndKeepsWhatWasWritten) {
    const Fault rows[] = {
        {"the folder is moved away part-way: the next segment has no folder",
         [](Scene& s, std::string&) {
             std::filesystem::create_directory(s.dir.file("sub"));
             s.writeSource(s.dir.file("sub/a.bin"), 6 * MiB);
             s.earlierSegmentsBase = s.dir.file("moved/a.bin");
             return true;
         },
         "3", "2097152",
         [](Scene& s) {
             if (!s.acted && Files::exists(s.source + "1"))
                 s.acted = std::rename(s.dir.file("sub").c_str(), s.dir.file("moved").c_str()) == 0;
         },
         [](const Scene& s) { return s.source + "2 contains an invalid path."; }, 1, 3, 2 * MiB},
        {"a read-only medium",
         [](Scene& s, std::string& reason) {
             if (!s.onMedium("size=16m", reason))
                 return false;
             s.writeSource(s.medium->file("a.bin"), 6 * MiB);
             if (!s.medium->remountReadOnly()) {
                 reason = "cannot remount the tmpfs read-only";
                 return false;
             }
             return true;
         },
         "3", "2097152", nullptr,
         [](const Scene& s) { return "Access to " + s.source + "1 was denied."; }, 0, 3, 2 * MiB},
        {"segment 2 held open by another program",
         [](Scene& s, std::string&) {
             s.writeSource(s.dir.file("a.bin"), 6 * MiB);
             Files::write(s.source + "2", "earlier contents");
             s.untouched[s.source + "2"] = "earlier contents";
             s.holder = std::make_unique<CFile>();
             return s.holder->Open(s.source + "2", CFile::modeRead | CFile::typeBinary);
         },
         "3", "2097152", nullptr,
         [](const Scene& s) {
             return "A sharing violation occurred while accessing " + s.source + "2.";
         },
         1, 3, 2 * MiB},
        {"segment 10's name is too long for the file system",
         [](Scene& s, std::string&) {
             // 255 bytes is the longest name: a.bin1 to a.bin9 fit, a.bin10 does not.
             s.writeSource(s.dir.file(std::string(254, 'n')), 10 * KiB);
             return true;
         },
         "10", "1024", nullptr,
         [](const Scene& s) { return s.source + "10 contains an invalid path."; }, 9, 10, KiB},
        {"the medium fills up during segment 2",
         [](Scene& s, std::string& reason) {
             if (!s.onMedium("size=4m", reason))
                 return false;
             s.writeSource(s.medium->file("a.bin"), 3 * MiB);
             return true;
         },
         "4", "786432", nullptr,
         [](const Scene& s) { return "Disk full while accessing " + s.source + "2."; }, 1, 4,
         768 * KiB},
        {"the source is cut short by another program during segment 1",
         [](Scene& s, std::string&) {
             s.writeSource(s.dir.file("a.bin"), 6 * MiB);
             return true;
         },
         "3", "2097152",
         [](Scene& s) {
             if (!s.acted && Files::exists(s.source + "1"))
                 s.acted = truncate(s.source.c_str(), MiB) == 0;
         },
         [](const Scene& s) {
             return "An attempt was made to access " + s.source + " past its end.";
         },
         0, 3, 2 * MiB},
    };
    std::string skipped;
    for (const Kind& kind : kinds) {
        for (const Fault& row : rows) {
            SCOPED_TRACE(std::string(kind.name) + ": " + row.label);
            Scene scene;
            std::string reason;
            if (!row.setup(scene, reason)) {
                skipped += std::string("\n") + row.label + ": " + reason;
                continue;
            }
            const std::string amount = kind.amountId == 1004 ? row.count : row.size;
            auto dialog = kind.make();
            SplitDriver driver(*dialog, kind.amountId);
            if (row.whileMoving)
                driver.whileMoving([&](platform::Window) { row.whileMoving(scene); });
            const SplitDriver::Outcome outcome = driver.run(scene.source, amount);

            // The report alone: no success message follows it.
            EXPECT_EQ(outcome.boxes, (Boxes{{row.report(scene), CWinApp::DisplayName(), 0x10}}));
            EXPECT_FALSE(outcome.busyAtBox);
            EXPECT_EQ(outcome.barHigh, row.segments);
            EXPECT_EQ(outcome.barPosition, row.written);
            EXPECT_TRUE(outcome.openAfter);
            EXPECT_EQ(outcome.pathText, scene.source);
            EXPECT_EQ(outcome.amountText, amount);
            EXPECT_EQ(kind.kept(*dialog), scene.source + "|" + amount);
            const std::string base =
                scene.earlierSegmentsBase.empty() ? scene.source : scene.earlierSegmentsBase;
            for (int k = 1; k <= row.written; ++k)
                EXPECT_EQ(Files::read(CSegmentName::Make(base, k)),
                          scene.bytes.substr((k - 1) * row.segmentLength, row.segmentLength))
                    << "segment " << k;
            // The one that failed holds at most the bytes that were read for it.
            const std::string failed = CSegmentName::Make(base, row.written + 1);
            if (Files::exists(failed) && !scene.untouched.count(failed)) {
                EXPECT_EQ(Files::read(failed),
                          scene.bytes.substr(row.written * row.segmentLength, Files::size(failed)));
            }
            EXPECT_FALSE(Files::exists(CSegmentName::Make(base, row.written + 2)));
            for (const auto& [path, bytes] : scene.untouched)
                EXPECT_EQ(Files::read(path), bytes) << path;
        }
    }
    if (!skipped.empty())
        GTEST_SKIP() << "rows that need a privilege this machine lacks:" << skipped;
}

TEST(SplitFaults, EscAndTheCloseBoxDuringASplitDoNotEndIt) {
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        test::TempDir dir;
        const std::string source = dir.file("a.bin");
        const std::string bytes = Files::pattern(8 * MiB, 5);
        Files::write(source, bytes);
        auto dialog = kind.make();
        int busyPumps = 0;
        SplitDriver driver(*dialog, kind.amountId);
        driver.whileMoving([&](platform::Window window) {
            if (!Files::exists(source + "1"))
                return;
            busyPumps += SplitDriver::isBusy(window) ? 1 : 0;
            platform::DialogHost::sendCommand(window, 2);
            test::Ui::widget(window)->close();
        });
        const auto outcome = driver.run(source, kind.amountId == 1004 ? "2" : "4194304");
        EXPECT_GT(busyPumps, 0) << "the dialog took commands while the segments moved";
        ASSERT_EQ(outcome.boxes.size(), 1u);
        EXPECT_EQ(outcome.boxes[0].text, " The file has been split ! ");
        EXPECT_FALSE(outcome.busyAtBox);
        EXPECT_TRUE(outcome.openAfter);
        EXPECT_EQ(Files::read(source + "1") + Files::read(source + "2"), bytes);
    }
}

// The arrows write the value with the locale's thousands separator, which the field's own
// exchange then refuses.
TEST(SplitFaults, TheArrowsStopAt2And1000AndTheirThousandIsRefused) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const std::string refusals[] = {"Please enter an integer.", "Please enter a positive integer."};
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        test::TempDir dir;
        Files::write(dir.file("a.bin"), Files::pattern(10));
        const auto before = Files::listing(dir.path());
        auto dialog = kind.make();
        test::ScriptedMessageBoxes boxes;
        boxes.answer(1);
        std::vector<std::string> seen;
        test::Modal::run(*dialog, [&](platform::Window window) {
            test::Ui::type(window, 1001, dir.file("a.bin"));
            test::Ui::type(window, kind.amountId, "3");
            for (int press = 0; press < 3; ++press)
                test::Ui::key(window, Qt::Key_Down);
            seen.push_back(test::Ui::text(window, kind.amountId));
            test::Ui::type(window, kind.amountId, "2");
            for (int press = 0; press < 999; ++press)
                test::Ui::key(window, Qt::Key_Up);
            seen.push_back(test::Ui::text(window, kind.amountId));
            test::Ui::click(window, 1003);
        });
        EXPECT_EQ(seen, (std::vector<std::string>{"2", "1,000"}));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, refusals[kind.amountId == 1004 ? 0 : 1]);
        EXPECT_EQ(Files::listing(dir.path()), before);
    }
    QLocale::setDefault(previous);
}

} // namespace
