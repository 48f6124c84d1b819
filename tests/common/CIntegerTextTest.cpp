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

class IntegerText : public testing::TestWithParam<Row> {};

TEST_P(IntegerText, ParsesInBothKinds) {
    EXPECT_EQ(CIntegerText::ParseSigned(GetParam().text), GetParam().asSigned);
    EXPECT_EQ(CIntegerText::ParseUnsigned(GetParam().text), GetParam().asUnsigned);
}

const std::optional<long long> refused;

INSTANTIATE_TEST_SUITE_P(
    Rows, IntegerText,
    testing::Values(Row{"BlanksAndTabsAround", " \t42 \t", 42, 42},
                    Row{"LeadingZeros", "007", 7, 7}, Row{"PlusSign", "+5", 5, 5},
                    Row{"MinusSign", "-5", -5, refused}, Row{"MinusZero", "-0", refused, refused},
                    Row{"PlusZero", "+0", refused, refused},
                    Row{"BlanksOnly", "   ", refused, refused},
                    Row{"LettersAfterDigits", "12abc", refused, refused},
                    // The whole text is read, and a number beyond the field is refused.
                    Row{"Beyond32Bits", "4294967296", refused, 4294967296},
                    Row{"LargestSigned", "2147483647", 2147483647, 2147483647},
                    Row{"MostNegative", "-2147483648", -2147483648LL, refused},
                    Row{"BelowMostNegative", "-2147483649", refused, refused},
                    Row{"LargestSize", "9223372036854775807", refused, 9223372036854775807LL},
                    Row{"Beyond63Bits", "9223372036854775808", refused, refused},
                    Row{"TwentyDigits", "99999999999999999999", refused, refused},
                    Row{"ZerosPast31Characters", std::string(25, '0') + "1000000", 1000000,
                        1000000},
                    Row{"JunkPast31Characters", std::string(30, ' ') + "7xyz", refused, refused}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
