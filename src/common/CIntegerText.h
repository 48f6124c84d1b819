#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Reads the whole-number fields of the dialogs: the text of an integer field is accepted only
// when it is a decimal number with nothing but blanks around it, and only when the number fits
// the field. The whole text is read: what the user typed is what is taken, or nothing is.
class CIntegerText final {
  public:
    // The largest size a size field takes: the largest length a file can have.
    static constexpr std::uint64_t largestSize = (std::uint64_t(1) << 63) - 1;

    // "%d": an optional sign, decimal digits, within the signed 32-bit range.
    static std::optional<int> ParseSigned(const std::string& text);
    // A byte count: a leading minus sign is refused; at most largestSize.
    static std::optional<std::uint64_t> ParseUnsigned(const std::string& text);
    static std::string FormatSigned(int value);
    static std::string FormatUnsigned(std::uint64_t value);
};
