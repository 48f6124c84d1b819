#include "common/CSegmentName.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    std::string base;
    long long number;
    std::string name;
};

TEST(CSegmentName, TheNumberFollowsTheBaseWithNoPaddingAndNoSeparator) {
    const std::string longBase = "/data/" + std::string(300, 'b') + ".bin";
    const Row rows[] = {
        {"x", 1, "x1"},
        {"x", 9, "x9"},
        {"x", 10, "x10"},
        {"x", 12, "x12"},
        {"C:/data/report.doc", 3, "C:/data/report.doc3"},
        {"a:photo.jpg", 2147483647, "a:photo.jpg2147483647"},
        {longBase, 100, longBase + "100"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CSegmentName::Make(row.base, row.number), row.name) << row.name;
}

} // namespace
