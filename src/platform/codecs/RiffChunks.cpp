#include "platform/codecs/RiffChunks.h"

#include "platform/codecs/LittleEndian.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace platform {

bool RiffChunks::hasCode(std::span<const unsigned char> bytes, std::size_t at, const char* code) {
    return bytes.size() >= at + 4 && std::memcmp(bytes.data() + at, code, 4) == 0;
}

bool RiffChunks::next() {
    if (m_rest.empty())
        return false;
    if (m_rest.size() < 8)
        return fail();
    const std::uint32_t size = LittleEndian::u32(m_rest, 4);
    if (size > m_rest.size() - 8)
        return fail();
    m_header = m_rest.first(8);
    m_data = m_rest.subspan(8, size);
    const std::size_t padded = std::min<std::size_t>(8 + size + (size & 1), m_rest.size());
    m_rest = m_rest.subspan(padded);
    return true;
}

bool RiffChunks::fail() {
    m_failed = true;
    m_rest = {};
    return false;
}

} // namespace platform
