#pragma once

#include <cstddef>
#include <span>

namespace platform {

// Walks the chunks of one RIFF level. A chunk that claims more bytes than its level holds marks
// the whole level as broken.
class RiffChunks final {
  public:
    explicit RiffChunks(std::span<const unsigned char> level) : m_rest(level) {}

    // Whether the four bytes at `at` are there and spell `code`.
    static bool hasCode(std::span<const unsigned char> bytes, std::size_t at, const char* code);

    // Steps to the next chunk; false at the end of the level or when it is broken.
    bool next();
    bool failed() const { return m_failed; }
    bool is(const char* code) const { return hasCode(m_header, 0, code); }
    // A LIST of the given type; its data then starts after the type.
    bool isList(const char* type) const { return is("LIST") && hasCode(m_data, 0, type); }
    std::span<const unsigned char> data() const { return m_data; }
    std::span<const unsigned char> listBody() const { return m_data.subspan(4); }

  private:
    bool fail();

    std::span<const unsigned char> m_rest;
    std::span<const unsigned char> m_header;
    std::span<const unsigned char> m_data;
    bool m_failed = false;
};

} // namespace platform
