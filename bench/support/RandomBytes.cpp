#include "support/RandomBytes.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <vector>

namespace bench {

namespace {
constexpr std::uint64_t blockBytes = 4 * 1024 * 1024;
}

void RandomBytes::write(const std::string& path, std::uint64_t length) {
    std::vector<std::uint64_t> block(blockBytes / sizeof(std::uint64_t));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (std::uint64_t written = 0; written < length; written += blockBytes) {
        std::generate(block.begin(), block.end(), std::ref(m_random));
        out.write(reinterpret_cast<const char*>(block.data()),
                  static_cast<std::streamsize>(std::min(blockBytes, length - written)));
    }
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

} // namespace bench
