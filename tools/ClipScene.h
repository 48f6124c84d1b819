#pragma once

#include "IndexedCanvas.h"

#include <array>
#include <cstdint>

namespace tools {

// The frames of the copy animation: a sheet of paper flies in an arc from a yellow folder at the
// left edge to a yellow folder at the right edge, on a magenta field.
class ClipScene final {
  public:
    static constexpr int width = 260;
    static constexpr int height = 40;
    static constexpr int frameCount = 17;

    // 0x00RRGGBB; index 0 is the field.
    static const std::array<std::uint32_t, 16>& palette();
    static IndexedCanvas frame(int index);

  private:
    static void drawFolderBack(IndexedCanvas& canvas, int left, bool mirrored);
    static void drawFolderFront(IndexedCanvas& canvas, int left, bool mirrored);
    static void drawPaper(IndexedCanvas& canvas, Point centre, double angle);
};

} // namespace tools
