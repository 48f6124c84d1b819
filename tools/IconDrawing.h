#pragma once

#include "IndexedCanvas.h"

#include <array>
#include <cstdint>

namespace tools {

// The program's icon: a written page cut into strips, with a pair of scissors at the cut, drawn
// by hand in the 16 standard colours on a transparent ground (IcoWriter::transparent). The
// corners are always transparent.
class IconDrawing final {
  public:
    static const std::array<std::uint32_t, 16>& palette();
    static IndexedCanvas large(); // 32 by 32
    static IndexedCanvas small(); // 16 by 16
};

} // namespace tools
