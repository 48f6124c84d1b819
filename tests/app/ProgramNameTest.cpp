#include "app/CMainDlg.h"
#include "app/ShellDriver.h"

#include "common/CWinApp.h"
#include "support/Modal.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct NameRow {
    const char* name;
    const char* programPath;
    const char* displayName;
    const char* helpFile;
};

void PrintTo(const NameRow& row, std::ostream* out) {
    *out << row.name;
}

class ProgramName : public ::testing::TestWithParam<NameRow> {};

TEST_P(ProgramName, DisplayNameIsTheFileNameLessItsExtensionAndHelpSitsBesideIt) {
    EXPECT_EQ(CWinApp::DisplayNameOf(GetParam().programPath), GetParam().displayName);
    EXPECT_EQ(CWinApp::HelpFilePathOf(GetParam().programPath), GetParam().helpFile);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ProgramName,
    ::testing::Values(
        NameRow{"Installed", "/usr/bin/Sundrel", "Sundrel", "/usr/bin/Sundrel.HLP"},
        NameRow{"WithExtension", "/opt/app/Sundrel.EXE", "Sundrel", "/opt/app/Sundrel.HLP"},
        NameRow{"Renamed", "/home/u/x.exe", "x", "/home/u/x.HLP"},
        // A dot in a directory name is no extension of the program file.
        NameRow{"DotInDirectory", "/opt/my.tools/Sundrel", "Sundrel", "/opt/my.tools/Sundrel.HLP"},
        NameRow{"OnlyTheLastExtension", "/a/archive.tar.gz", "archive.tar", "/a/archive.tar.HLP"},
        NameRow{"TrailingDot", "/a/Sundrel.", "Sundrel", "/a/Sundrel.HLP"},
        NameRow{"HiddenFileIsAllName", "/a/.sundrel", ".sundrel", "/a/.sundrel.HLP"},
        NameRow{"Blanks", "/a b/my tool.bin", "my tool", "/a b/my tool.HLP"},
        NameRow{"NoDirectory", "Sundrel", "Sundrel", "Sundrel.HLP"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ProgramName, IsTheRunningProgramsOwnFile) {
    EXPECT_EQ(CWinApp::DisplayName(), "test_app");
    const auto self = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(CWinApp::HelpFilePath(), (self.parent_path() / "test_app.HLP").string());
}

// Run inside a renamed copy of this program (see RenamedCopyNamesItselfAfterItsFile): the
// caption of a captionless box and the help file both follow the new file name.
void checkAsRenamedCopy(const std::string& expectedName) {
    const auto self = std::filesystem::read_symlink("/proc/self/exe");
    const std::string helpFile = (self.parent_path() / (expectedName + ".HLP")).string();
    EXPECT_EQ(CWinApp::DisplayName(), expectedName);
    EXPECT_EQ(CWinApp::HelpFilePath(), helpFile);
    test::ScriptedHelpViewer help;
    test::ScriptedMessageBoxes boxes;
    help.answer(false);
    boxes.answer(1);
    CMainDlg main;
    test::Modal::run(main, [](platform::Window window) {
        test::ShellDriver::keyThroughDesktop(window, Qt::Key_F1);
    });
    ASSERT_EQ(help.requests().size(), 1u);
    EXPECT_EQ(help.requests()[0].helpFile, helpFile);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, expectedName);
}

TEST(ProgramName, RenamedCopyNamesItselfAfterItsFile) {
    if (const char* renamedAs = std::getenv("SUNDREL_TEST_RENAMED_AS")) {
        checkAsRenamedCopy(renamedAs);
        return;
    }
    test::TempDir dir;
    const std::string copy = dir.file("x.exe");
    std::error_code failed;
    std::filesystem::create_hard_link(std::filesystem::read_symlink("/proc/self/exe"), copy,
                                      failed);
    if (failed)
        std::filesystem::copy_file(std::filesystem::read_symlink("/proc/self/exe"), copy);
    const std::string command =
        "SUNDREL_TEST_RENAMED_AS=x ASAN_OPTIONS=detect_leaks=0 timeout 120 '" + copy +
        "' --gtest_filter=ProgramName.RenamedCopyNamesItselfAfterItsFile 2>&1";
    FILE* child = popen(command.c_str(), "r");
    ASSERT_NE(child, nullptr);
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, child)) > 0;)
        output.append(buffer, n);
    const int status = pclose(child);
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

} // namespace
