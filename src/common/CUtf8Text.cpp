#include "common/CUtf8Text.h"

#include <algorithm>

namespace {

constexpr std::size_t longestCharacter = 4;

bool isContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// How many bytes the character that starts with this byte has; 0 when none starts with it.
std::size_t characterLength(char first) {
    const auto byte = static_cast<unsigned char>(first);
    if (byte < 0x80)
        return 1;
    if ((byte & 0xE0) == 0xC0)
        return 2;
    if ((byte & 0xF0) == 0xE0)
        return 3;
    if ((byte & 0xF8) == 0xF0)
        return 4;
    return 0;
}

} // namespace

std::string CUtf8Text::WithoutLastCharacter(const std::string& text) {
    if (text.empty())
        return text;
    return text.substr(0, CharacterStart(text, text.size() - 1));
}

std::string CUtf8Text::CutTo(std::string text, std::size_t limit) {
    if (text.size() > limit)
        text.resize(CharacterStart(text, limit));
    return text;
}

std::size_t CUtf8Text::CharacterStart(const std::string& text, std::size_t at) {
    std::size_t start = at;
    while (start > 0 && at - start < longestCharacter - 1 && isContinuationByte(text[start]))
        --start;
    const std::size_t end = start + characterLength(text[start]);
    const bool holdsAt = end > at && end <= text.size() &&
                         std::all_of(text.data() + at + 1, text.data() + end, isContinuationByte);
    return holdsAt ? start : at;
}
