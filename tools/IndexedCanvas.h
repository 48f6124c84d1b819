#pragma once

#include <cstdint>
#include <vector>

namespace tools {

// A position in picture space, where pixel (i, j) covers [i, i+1) x [j, j+1).
struct Point {
    double x;
    double y;
};

// A picture of palette indices, top row first, with the few drawing operations the generators
// need. Shapes are filled where a pixel's centre lies inside them; an outline is the ring of the
// shape's own pixels that touch the outside, so it never grows the shape.
class IndexedCanvas final {
  public:
    static constexpr int noOutline = -1;

    IndexedCanvas(int width, int height, std::uint8_t fill);

    int width() const { return m_width; }
    int height() const { return m_height; }
    std::uint8_t at(int x, int y) const;
    const std::vector<std::uint8_t>& pixels() const { return m_pixels; }

    // Drawing outside the picture is clipped.
    void set(int x, int y, std::uint8_t index);
    void fillRect(int x, int y, int width, int height, std::uint8_t index);
    void drawLine(Point from, Point to, std::uint8_t index);
    void fillPolygon(const std::vector<Point>& corners, std::uint8_t fill, int outline = noOutline);
    void fillEllipse(Point centre, double radiusX, double radiusY, std::uint8_t fill,
                     int outline = noOutline);

  private:
    void paint(const std::vector<bool>& shape, std::uint8_t fill, int outline);
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_pixels;
};

} // namespace tools
