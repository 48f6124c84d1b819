#include "resources/BinaryResources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

using resources::BinaryResources;

bool startsWith(std::span<const unsigned char> bytes, std::size_t at, const char* text) {
    const std::size_t length = std::strlen(text);
    return bytes.size() >= at + length && std::memcmp(bytes.data() + at, text, length) == 0;
}

TEST(BinaryResources, TheClipIsARiffAviFileWhoseSizeMatchesItsHeader) {
    const auto clip = BinaryResources::clip(136);
    ASSERT_GE(clip.size(), 12u);
    EXPECT_TRUE(startsWith(clip, 0, "RIFF"));
    EXPECT_TRUE(startsWith(clip, 8, "AVI "));
    const std::uint32_t riffSize =
        clip[4] | clip[5] << 8 | clip[6] << 16 | static_cast<std::uint32_t>(clip[7]) << 24;
    EXPECT_EQ(riffSize + 8u, clip.size());
}

TEST(BinaryResources, TheIconIsTheCommittedIcoFile) {
    const auto icon = BinaryResources::icon(128);
    const auto committed =
        std::filesystem::path(__FILE__).parent_path() / "../../src/resources/sundrel.ico";
    std::ifstream in(committed, std::ios::binary);
    ASSERT_TRUE(in) << committed;
    const std::vector<unsigned char> file{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(std::vector<unsigned char>(icon.begin(), icon.end()), file);
    ASSERT_GE(icon.size(), 6u);
    EXPECT_EQ(std::vector<unsigned char>(icon.begin(), icon.begin() + 6),
              (std::vector<unsigned char>{0, 0, 1, 0, 2, 0})); // an icon group of two images
}

TEST(BinaryResources, OtherIdsHaveNoBytes) {
    for (const int id : {0, 1, 127, 129, 135, 137, -1, 65535}) {
        EXPECT_TRUE(BinaryResources::clip(id).empty()) << "clip " << id;
        EXPECT_TRUE(BinaryResources::icon(id).empty()) << "icon " << id;
    }
    EXPECT_TRUE(BinaryResources::clip(128).empty());
    EXPECT_TRUE(BinaryResources::icon(136).empty());
}

} // namespace
