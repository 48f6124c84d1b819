#pragma once

#include <cstddef>
#include <string>

// Text in UTF-8, taken apart only between characters. A character is a lead byte and the
// continuation bytes it announces; a byte that belongs to no such character counts as a
// character of its own.
class CUtf8Text final {
  public:
    // The text less its last character.
    static std::string WithoutLastCharacter(const std::string& text);
    // The text cut to at most limit bytes: a character that would be split goes whole.
    static std::string CutTo(std::string text, std::size_t limit);

  private:
    // Where the character that holds the byte at offset at begins.
    static std::size_t CharacterStart(const std::string& text, std::size_t at);
};
