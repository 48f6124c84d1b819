#include "common/CChecksumLines.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using test::Files;

struct Named {
    const char* name;
    std::string file;
};

class ChecksumLine : public testing::TestWithParam<Named> {};

// Each name is written as sha256sum writes it, escapes included, and read back whole.
TEST_P(ChecksumLine, IsWhatSha256sumWritesAndReadsBack) {
    test::TempDir dir;
    const std::string& file = GetParam().file;
    Files::write(dir.file(file), "bytes");
    const std::string written = Files::sha256sum(dir.path(), {file});
    const CChecksumLines::Line line{
        "0ab6a1f5e1e1dd3fae38f2b47e0ad4a4e6ef50f07ee8ae9e5ea6b9ad4a50ff53", file};
    const std::string digest = written.substr(written[0] == '\\' ? 1 : 0, 64);
    EXPECT_EQ(CChecksumLines::Format({{digest, file}}), written);
    EXPECT_EQ(CChecksumLines::Parse(written), (std::vector<CChecksumLines::Line>{{digest, file}}));
    EXPECT_EQ(CChecksumLines::Parse(CChecksumLines::Format({line, line})),
              (std::vector<CChecksumLines::Line>{line, line}));
}

INSTANTIATE_TEST_SUITE_P(Rows, ChecksumLine,
                         testing::Values(Named{"Plain", "report.zip1"},
                                         Named{"Blanks", " two  blanks "},
                                         Named{"Backslash", "back\\slash"},
                                         Named{"Newline", "new\nline"},
                                         Named{"CarriageReturn", "carriage\rreturn"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct Unread {
    const char* name;
    std::string text;
};

class ChecksumText : public testing::TestWithParam<Unread> {};

TEST_P(ChecksumText, IsNoListOfChecksums) {
    EXPECT_EQ(CChecksumLines::Parse(GetParam().text), std::nullopt);
}

const std::string hex(64, 'a');
INSTANTIATE_TEST_SUITE_P(Rows, ChecksumText,
                         testing::Values(Unread{"Empty", ""},
                                         Unread{"CutInALine", hex + "  x1\n" + hex.substr(9)},
                                         Unread{"NoNewlineAtTheEnd", hex + "  x"},
                                         Unread{"ShortDigest", hex.substr(1) + "  x\n"},
                                         Unread{"NotHex", "g" + hex.substr(1) + "  x\n"},
                                         Unread{"OneBlank", hex + " x\n"},
                                         Unread{"NoName", hex + "  \n"},
                                         Unread{"UnknownEscape", "\\" + hex + "  a\\tb\n"},
                                         Unread{"ABlankLine", hex + "  x\n\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
