#include "resources/VersionInfo.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdio>

namespace {

using resources::VersionInfo;

const VersionInfo& block() {
    return VersionInfo::program();
}

TEST(VersionInfo, FixedPartIsVersionOnePointTwoOfAWindowsApplication) {
    const std::array<unsigned, 4> expected{1, 2, 0, 1};
    EXPECT_EQ(block().fileVersion, expected);
    EXPECT_EQ(block().productVersion, expected);
    EXPECT_EQ(block().fileFlagsMask, 0x3Fu);
    EXPECT_EQ(block().fileFlags, 0u);
    EXPECT_EQ(block().fileOS, 0x4u);
    EXPECT_EQ(block().fileType, 0x1u);
    EXPECT_EQ(block().fileSubtype, 0u);
}

TEST(VersionInfo, StringTableIsUsEnglishUnicodeAndMatchesItsTranslation) {
    EXPECT_EQ(block().stringTableKey, "040904b0");
    EXPECT_EQ(block().translation.language, 0x0409u);
    EXPECT_EQ(block().translation.codePage, 0x04B0u);
    char key[9];
    std::snprintf(key, sizeof key, "%04x%04x", block().translation.language,
                  block().translation.codePage);
    EXPECT_EQ(block().stringTableKey, key);
}

struct StringRow {
    const char* key;
    const char* value;
};

void PrintTo(const StringRow& row, std::ostream* out) {
    *out << row.key;
}

class VersionStrings : public ::testing::TestWithParam<StringRow> {};

TEST_P(VersionStrings, HasItsValue) {
    const auto value = block().value(GetParam().key);
    ASSERT_TRUE(value.has_value()) << "no key " << GetParam().key;
    EXPECT_EQ(*value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Fixed, VersionStrings,
                         ::testing::Values(StringRow{"FileVersion", "1, 2, 0, 1"},
                                           StringRow{"ProductVersion", "1, 2, 0, 1"},
                                           StringRow{"InternalName", "Sundrel"},
                                           StringRow{"OriginalFilename", "Sundrel.EXE"},
                                           StringRow{"ProductName", "Sundrel Application"},
                                           StringRow{"Comments", ""},
                                           StringRow{"LegalTrademarks", ""},
                                           StringRow{"PrivateBuild", ""},
                                           StringRow{"SpecialBuild", ""}),
                         [](const auto& row) { return std::string(row.param.key); });

TEST(VersionInfo, DescriptionBeginsWithTheProductNameAndTheMakerIsNamed) {
    const std::string product = block().value("ProductName").value_or("?");
    const std::string description = block().value("FileDescription").value_or("");
    EXPECT_EQ(description.substr(0, product.size()), product);
    EXPECT_GT(description.size(), product.size());
    EXPECT_FALSE(block().value("CompanyName").value_or("").empty());
    EXPECT_FALSE(block().value("LegalCopyright").value_or("").empty());
    EXPECT_FALSE(block().value("NoSuchKey").has_value());
}

TEST(VersionInfo, VersionTextIsTheNumbersSeparatedByCommaAndBlank) {
    EXPECT_EQ(VersionInfo::versionText({1, 2, 0, 1}), "1, 2, 0, 1");
    EXPECT_EQ(VersionInfo::versionText({10, 0, 65535, 7}), "10, 0, 65535, 7");
    // The strings follow the numbers, so a new project version cannot leave them behind.
    EXPECT_EQ(block().value("FileVersion"), VersionInfo::versionText(block().fileVersion));
    EXPECT_EQ(block().value("ProductVersion"), VersionInfo::versionText(block().productVersion));
}

} // namespace
