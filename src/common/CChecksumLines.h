#pragma once

#include <optional>
#include <string>
#include <vector>

// The lines of a checksum file as sha256sum writes and reads them: 64 hex digits, two blanks and
// the file's name. A name holding a backslash, a newline or a carriage return is written escaped
// (\\, \n, \r) on a line that begins with a backslash.
class CChecksumLines final {
  public:
    struct Line {
        std::string digest; // lowercase hex
        std::string name;
        bool operator==(const Line&) const = default;
    };

    static std::string Format(const std::vector<Line>& lines);
    // The lines of a text that holds nothing else, each ended by a newline; nothing when any
    // line is not such a line (an empty text neither). Hex digits may be upper case, and a
    // blank and an asterisk may stand for the two blanks, as sha256sum accepts them.
    static std::optional<std::vector<Line>> Parse(const std::string& text);

  private:
    static std::optional<Line> ParseLine(const std::string& line);
};
