#include "IndexedCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tools {

IndexedCanvas::IndexedCanvas(int width, int height, std::uint8_t fill)
    : m_width(width), m_height(height),
      m_pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

std::uint8_t IndexedCanvas::at(int x, int y) const {
    return inside(x, y) ? m_pixels[static_cast<std::size_t>(y) * m_width + x] : 0;
}

void IndexedCanvas::set(int x, int y, std::uint8_t index) {
    if (inside(x, y))
        m_pixels[static_cast<std::size_t>(y) * m_width + x] = index;
}

void IndexedCanvas::fillRect(int x, int y, int width, int height, std::uint8_t index) {
    for (int row = y; row < y + height; ++row)
        for (int column = x; column < x + width; ++column)
            set(column, row, index);
}

void IndexedCanvas::drawLine(Point from, Point to, std::uint8_t index) {
    int x = static_cast<int>(std::floor(from.x));
    int y = static_cast<int>(std::floor(from.y));
    const int endX = static_cast<int>(std::floor(to.x));
    const int endY = static_cast<int>(std::floor(to.y));
    const int dx = std::abs(endX - x);
    const int dy = -std::abs(endY - y);
    const int stepX = x < endX ? 1 : -1;
    const int stepY = y < endY ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        set(x, y, index);
        if (x == endX && y == endY)
            return;
        const int doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x += stepX;
        }
        if (doubled <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

void IndexedCanvas::fillPolygon(const std::vector<Point>& corners, std::uint8_t fill, int outline) {
    std::vector<bool> shape(m_pixels.size(), false);
    std::vector<double> crossings;
    for (int y = 0; y < m_height; ++y) {
        const double centreY = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const Point& a = corners[i];
            const Point& b = corners[(i + 1) % corners.size()];
            if ((a.y <= centreY && centreY < b.y) || (b.y <= centreY && centreY < a.y))
                crossings.push_back(a.x + (centreY - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int first = std::max(0, static_cast<int>(std::ceil(crossings[i] - 0.5)));
            const int last = std::min(m_width, static_cast<int>(std::ceil(crossings[i + 1] - 0.5)));
            for (int x = first; x < last; ++x)
                shape[static_cast<std::size_t>(y) * m_width + x] = true;
        }
    }
    paint(shape, fill, outline);
}

void IndexedCanvas::fillEllipse(Point centre, double radiusX, double radiusY, std::uint8_t fill,
                                int outline) {
    std::vector<bool> shape(m_pixels.size(), false);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            const double u = (x + 0.5 - centre.x) / radiusX;
            const double v = (y + 0.5 - centre.y) / radiusY;
            shape[static_cast<std::size_t>(y) * m_width + x] = u * u + v * v <= 1.0;
        }
    paint(shape, fill, outline);
}

void IndexedCanvas::paint(const std::vector<bool>& shape, std::uint8_t fill, int outline) {
    // A shape cut by the picture's edge goes on beyond it, so the edge gets no outline.
    const auto inShape = [&](int x, int y) {
        return !inside(x, y) || shape[static_cast<std::size_t>(y) * m_width + x];
    };
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            if (!shape[static_cast<std::size_t>(y) * m_width + x])
                continue;
            const bool edge = !inShape(x - 1, y) || !inShape(x + 1, y) || !inShape(x, y - 1) ||
                              !inShape(x, y + 1);
            set(x, y, edge && outline != noOutline ? static_cast<std::uint8_t>(outline) : fill);
        }
}

} // namespace tools
