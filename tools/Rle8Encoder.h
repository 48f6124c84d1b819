#pragma once

#include "IndexedCanvas.h"

#include <cstdint>
#include <vector>

namespace tools {

// Encodes a picture of palette indices as RLE8 bitmap data (rows bottom-up). Given the previous
// frame, it only encodes the pixels that changed and skips the rest with delta escapes, so a
// player keeps the previous frame's pixels there.
class Rle8Encoder final {
  public:
    static std::vector<std::uint8_t> encode(const IndexedCanvas& frame,
                                            const IndexedCanvas* previous = nullptr);

  private:
    Rle8Encoder(const IndexedCanvas& frame, const IndexedCanvas* previous);
    void encodeRow(int row);
    void moveTo(int x, int row);
    void emitPixels(int row, int first, int end);
    void emitLiteral(int row, int first, int end);
    int spanEnd(int row, int first) const;
    bool changed(int x, int row) const;
    std::uint8_t pixel(int x, int row) const;

    const IndexedCanvas& m_frame;
    const IndexedCanvas* m_previous;
    std::vector<std::uint8_t> m_out;
    int m_x = 0;   // where the decoder will write next
    int m_row = 0; // counted from the bottom row
};

} // namespace tools
