#include "common/CIntegerText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct Row {
    const char* name;
    std::string text;
    std::optional<long long> asSigned;
    std::optional<long long> asUnsigned;
};

const Row rows[] = {
    {"plain", "42", 42, 42},
    {"blanks and tabs around", " \t42 \t", 42, 42},
    {"zero written as a digit", "0", 0, 0},
    {"leading zeros", "007", 7, 7},
    {"plus sign", "+5", 5, 5},
    {"minus sign", "-5", -5, std::nullopt},
    {"minus zero", "-0", std::nullopt, std::nullopt},
    {"plus zero", "+0", std::nullopt, std::nullopt},
    {"empty", "", std::nullopt, std::nullopt},
    {"blanks only", "   ", std::nullopt, std::nullopt},
    {"thousands separator", "1,000", std::nullopt, std::nullopt},
    {"letters after digits", "12abc", std::nullopt, std::nullopt},
    {"decimal point", "1.5", std::nullopt, std::nullopt},
    {"hexadecimal", "0x10", std::nullopt, std::nullopt},
    {"letters", "abc", std::nullopt, std::nullopt},
    {"beyond 32 bits", "4294967296", 2147483647, 4294967295},
    {"far beyond 32 bits", "99999999999", 2147483647, 4294967295},
    {"most negative and beyond", "-99999999999", -2147483648LL, std::nullopt},
    {"largest unsigned", "4294967295", 2147483647, 4294967295},
    // Only 31 characters are looked at: what follows them is never seen.
    {"junk after 31 characters", std::string(30, ' ') + "7xyz", 7, 7},
    {"digits cut at 31 characters", std::string(29, ' ') + "12345", 12, 12},
};

TEST(IntegerText, ParsesEachRowInBothKinds) {
    for (const Row& row : rows) {
        const auto signedValue = CIntegerText::ParseSigned(row.text);
        const auto unsignedValue = CIntegerText::ParseUnsigned(row.text);
        EXPECT_EQ(signedValue.has_value(), row.asSigned.has_value()) << row.name;
        EXPECT_EQ(unsignedValue.has_value(), row.asUnsigned.has_value()) << row.name;
        if (signedValue && row.asSigned) {
            EXPECT_EQ(*signedValue, *row.asSigned) << row.name;
        }
        if (unsignedValue && row.asUnsigned) {
            EXPECT_EQ(*unsignedValue, *row.asUnsigned) << row.name;
        }
    }
}

} // namespace
