#include "common/CChecksumLines.h"

namespace {

constexpr std::size_t digestLength = 64;

// Whatever the locale says about other characters.
std::optional<char> lowerHexDigit(char c) {
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))
        return c;
    if (c >= 'A' && c <= 'F')
        return static_cast<char>(c - 'A' + 'a');
    return std::nullopt;
}

bool needsEscape(char c) {
    return c == '\\' || c == '\n' || c == '\r';
}

std::string escaped(const std::string& name) {
    std::string text;
    for (const char c : name) {
        if (!needsEscape(c))
            text += c;
        else
            text += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : "\\r";
    }
    return text;
}

std::optional<std::string> unescaped(const std::string& text) {
    std::string name;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] != '\\') {
            name += text[k];
            continue;
        }
        const char next = ++k < text.size() ? text[k] : '\0';
        if (next != '\\' && next != 'n' && next != 'r')
            return std::nullopt;
        name += next == '\\' ? '\\' : next == 'n' ? '\n' : '\r';
    }
    return name;
}

} // namespace

std::string CChecksumLines::Format(const std::vector<Line>& lines) {
    std::string text;
    for (const Line& line : lines) {
        const bool escape = line.name.find_first_of("\\\n\r") != std::string::npos;
        text += (escape ? "\\" : "") + line.digest + "  " +
                (escape ? escaped(line.name) : line.name) + "\n";
    }
    return text;
}

std::optional<std::vector<CChecksumLines::Line>> CChecksumLines::Parse(const std::string& text) {
    if (text.empty() || text.back() != '\n')
        return std::nullopt;
    std::vector<Line> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        const auto line = ParseLine(text.substr(start, end - start));
        if (!line)
            return std::nullopt;
        lines.push_back(*line);
        start = end + 1;
    }
    return lines;
}

std::optional<CChecksumLines::Line> CChecksumLines::ParseLine(const std::string& line) {
    const bool escape = !line.empty() && line[0] == '\\';
    const std::string rest = line.substr(escape ? 1 : 0);
    if (rest.size() <= digestLength + 2 || rest[digestLength] != ' ' ||
        (rest[digestLength + 1] != ' ' && rest[digestLength + 1] != '*'))
        return std::nullopt;
    Line parsed;
    for (std::size_t k = 0; k < digestLength; ++k) {
        const auto digit = lowerHexDigit(rest[k]);
        if (!digit)
            return std::nullopt;
        parsed.digest += *digit;
    }
    const std::string name = rest.substr(digestLength + 2);
    if (!escape) {
        parsed.name = name;
        return parsed;
    }
    const auto unescapedName = unescaped(name);
    if (!unescapedName)
        return std::nullopt;
    parsed.name = *unescapedName;
    return parsed;
}
