#pragma once

#include <optional>
#include <string>

// Reads the whole-number fields of the dialogs: the text of an integer field is accepted only
// when it is a decimal number with nothing but blanks around it.
class CIntegerText final {
  public:
    // Only this many characters of a field are looked at.
    static constexpr std::size_t visibleLength = 31;

    // "%d": an optional sign, decimal digits; beyond 32 bits the value holds at the limit.
    static std::optional<int> ParseSigned(const std::string& text);
    // "%u": a leading minus sign is refused; beyond 32 bits the value holds at the limit.
    static std::optional<unsigned> ParseUnsigned(const std::string& text);
    static std::string FormatSigned(int value);
    static std::string FormatUnsigned(unsigned value);
};
