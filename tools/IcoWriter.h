#pragma once

#include "IndexedCanvas.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tools {

// Writes an icon group as .ico bytes: every picture as a 16-colour (4 bits per pixel) bitmap with
// its AND mask. Pixels of index `transparent` are masked out.
class IcoWriter final {
  public:
    static constexpr std::uint8_t transparent = 16;

    static std::vector<std::uint8_t> write(const std::vector<IndexedCanvas>& pictures,
                                           const std::array<std::uint32_t, 16>& palette);

  private:
    static std::vector<std::uint8_t> bitmap(const IndexedCanvas& picture,
                                            const std::array<std::uint32_t, 16>& palette);
};

} // namespace tools
