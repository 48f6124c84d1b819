#include "common/CIntegerText.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Scan {
    bool negative = false;
    std::uint64_t magnitude = 0; // held at a ceiling well above 32 bits
    bool valid = false;
};

// The common reading of both kinds; `allowMinus` is false for unsigned fields.
Scan scan(const std::string& whole, bool allowMinus) {
    const std::string text = whole.substr(0, CIntegerText::visibleLength);
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    const std::size_t first = at;
    Scan result;
    if (at < text.size() && text[at] == '-' && !allowMinus)
        return result;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        result.negative = text[at] == '-';
        ++at;
    }
    constexpr std::uint64_t ceiling = std::uint64_t(1) << 40;
    while (at < text.size() && isDigit(text[at])) {
        result.magnitude = std::min(ceiling, result.magnitude * 10 + std::uint64_t(text[at] - '0'));
        ++at;
    }
    // A zero counts only when it was written as a digit: an empty field, "+0" and "-0" fail.
    if (result.magnitude == 0 && (first >= text.size() || text[first] != '0'))
        return result;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    result.valid = at == text.size();
    return result;
}

} // namespace

std::optional<int> CIntegerText::ParseSigned(const std::string& text) {
    const Scan read = scan(text, true);
    if (!read.valid)
        return std::nullopt;
    constexpr std::int64_t largest = std::numeric_limits<int>::max();
    constexpr std::int64_t smallest = std::numeric_limits<int>::min();
    const std::int64_t value =
        read.negative ? -std::int64_t(read.magnitude) : std::int64_t(read.magnitude);
    return static_cast<int>(std::clamp(value, smallest, largest));
}

std::optional<unsigned> CIntegerText::ParseUnsigned(const std::string& text) {
    const Scan read = scan(text, false);
    if (!read.valid)
        return std::nullopt;
    constexpr std::uint64_t largest = std::numeric_limits<unsigned>::max();
    return static_cast<unsigned>(std::min(read.magnitude, largest));
}

std::string CIntegerText::FormatSigned(int value) {
    return std::to_string(value);
}

std::string CIntegerText::FormatUnsigned(unsigned value) {
    return std::to_string(value);
}
