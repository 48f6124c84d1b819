#include "Rle8Encoder.h"

#include <algorithm>

namespace tools {

namespace {

// Unchanged pixels shorter than this are cheaper to repeat than to skip.
constexpr int shortestSkip = 4;
constexpr int longestRun = 255;
constexpr int shortestLiteral = 3; // absolute mode needs at least three pixels

} // namespace

std::vector<std::uint8_t> Rle8Encoder::encode(const IndexedCanvas& frame,
                                              const IndexedCanvas* previous) {
    Rle8Encoder encoder(frame, previous);
    for (int row = 0; row < frame.height(); ++row)
        encoder.encodeRow(row);
    encoder.m_out.insert(encoder.m_out.end(), {0, 1}); // end of bitmap
    return std::move(encoder.m_out);
}

Rle8Encoder::Rle8Encoder(const IndexedCanvas& frame, const IndexedCanvas* previous)
    : m_frame(frame), m_previous(previous) {}

std::uint8_t Rle8Encoder::pixel(int x, int row) const {
    return m_frame.at(x, m_frame.height() - 1 - row);
}

bool Rle8Encoder::changed(int x, int row) const {
    return m_previous == nullptr || m_previous->at(x, m_frame.height() - 1 - row) != pixel(x, row);
}

// The end of a stretch to encode that begins at a changed pixel: it runs on over short unchanged
// gaps and stops before the first long one.
int Rle8Encoder::spanEnd(int row, int first) const {
    const int width = m_frame.width();
    int end = first;
    while (end < width) {
        if (changed(end, row)) {
            ++end;
            continue;
        }
        int gap = end;
        while (gap < width && !changed(gap, row))
            ++gap;
        if (gap == width || gap - end >= shortestSkip)
            break;
        end = gap;
    }
    return end;
}

void Rle8Encoder::encodeRow(int row) {
    const int width = m_frame.width();
    int x = 0;
    while (x < width) {
        if (!changed(x, row)) {
            ++x;
            continue;
        }
        const int end = spanEnd(row, x);
        moveTo(x, row);
        emitPixels(row, x, end);
        x = end;
    }
}

void Rle8Encoder::moveTo(int x, int row) {
    if (m_x == x && m_row == row)
        return;
    if (row > m_row && x < m_x) {
        m_out.insert(m_out.end(), {0, 0}); // end of line: back to the left edge, one row up
        m_x = 0;
        ++m_row;
    }
    while (m_x != x || m_row != row) {
        const int dx = std::min(x - m_x, longestRun);
        const int dy = std::min(row - m_row, longestRun);
        m_out.insert(m_out.end(),
                     {0, 2, static_cast<std::uint8_t>(dx), static_cast<std::uint8_t>(dy)});
        m_x += dx;
        m_row += dy;
    }
}

void Rle8Encoder::emitPixels(int row, int first, int end) {
    int x = first;
    int literalStart = first;
    while (x < end) {
        int run = 1;
        while (x + run < end && run < longestRun && pixel(x + run, row) == pixel(x, row))
            ++run;
        if (run < 3) {
            x += run;
            continue;
        }
        emitLiteral(row, literalStart, x);
        m_out.push_back(static_cast<std::uint8_t>(run));
        m_out.push_back(pixel(x, row));
        x += run;
        literalStart = x;
    }
    emitLiteral(row, literalStart, end);
    m_x = end;
}

void Rle8Encoder::emitLiteral(int row, int first, int end) {
    while (end - first > 0) {
        const int count = std::min(end - first, longestRun);
        if (count < shortestLiteral) {
            for (int x = first; x < first + count; ++x)
                m_out.insert(m_out.end(), {1, pixel(x, row)});
        } else {
            m_out.insert(m_out.end(), {0, static_cast<std::uint8_t>(count)});
            for (int x = first; x < first + count; ++x)
                m_out.push_back(pixel(x, row));
            if (count % 2 != 0)
                m_out.push_back(0); // absolute runs end on a 16-bit boundary
        }
        first += count;
    }
}

} // namespace tools
