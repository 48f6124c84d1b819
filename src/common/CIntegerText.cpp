#include "common/CIntegerText.h"

#include <limits>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Every magnitude from here on is beyond both kinds of field: reading holds it there.
constexpr std::uint64_t beyondEveryField = std::uint64_t(1) << 63;

struct Scan {
    bool negative = false;
    std::uint64_t magnitude = 0; // at most beyondEveryField
    bool valid = false;
};

std::uint64_t appendDigit(std::uint64_t magnitude, char digit) {
    const auto value = static_cast<std::uint64_t>(digit - '0');
    if (magnitude > (beyondEveryField - value) / 10)
        return beyondEveryField;
    return magnitude * 10 + value;
}

// The common reading of both kinds; `allowMinus` is false for unsigned fields.
Scan scan(const std::string& text, bool allowMinus) {
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
    while (at < text.size() && isDigit(text[at])) {
        result.magnitude = appendDigit(result.magnitude, text[at]);
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
    constexpr std::uint64_t largest = std::numeric_limits<int>::max();
    if (!read.valid || read.magnitude > largest + (read.negative ? 1 : 0))
        return std::nullopt;
    const auto value = static_cast<long long>(read.magnitude);
    return static_cast<int>(read.negative ? -value : value);
}

std::optional<std::uint64_t> CIntegerText::ParseUnsigned(const std::string& text) {
    const Scan read = scan(text, false);
    if (!read.valid || read.magnitude > largestSize)
        return std::nullopt;
    return read.magnitude;
}

std::string CIntegerText::FormatSigned(int value) {
    return std::to_string(value);
}

std::string CIntegerText::FormatUnsigned(std::uint64_t value) {
    return std::to_string(value);
}
