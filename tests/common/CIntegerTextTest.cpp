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
                    Row{"Beyond32BitsHoldsAtTheLimit", "4294967296", 2147483647, 4294967295},
                    Row{"LargestUnsigned", "4294967295", 2147483647, 4294967295},
                    Row{"MostNegativeAndBeyond", "-99999999999", -2147483648LL, refused},
                    // Only 31 characters are looked at: what follows them is never seen.
                    Row{"JunkAfter31Characters", std::string(30, ' ') + "7xyz", 7, 7},
                    Row{"DigitsCutAt31Characters", std::string(29, ' ') + "12345", 12, 12}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
