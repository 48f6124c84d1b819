#include "ClipScene.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace tools {

namespace {

enum Colour : std::uint8_t {
    field,
    black,
    white,
    lightGrey,
    darkGrey,
    folderFront,
    folderBack,
    folderEdge,
    folderLight,
    ink,
};

constexpr int folderWidth = 44;
constexpr int folderInset = 4;   // from the clip's edge
constexpr int folderBottom = 37; // last row of the folders
constexpr int frontTop = 22;     // the front flap's upper edge
constexpr double paperWidth = 13.0;
constexpr double paperHeight = 16.0;
constexpr double restY = 21.0; // the sheet's centre while it sits in a folder
constexpr double arcHeight = 11.0;
constexpr double tilt = 0.5; // radians at the steepest point of the flight

// Mirrors a shape drawn for the left folder onto the right one.
std::vector<Point> place(std::vector<Point> points, int left, bool mirrored) {
    for (auto& point : points)
        point.x = mirrored ? left + folderWidth - point.x : left + point.x;
    return points;
}

} // namespace

const std::array<std::uint32_t, 16>& ClipScene::palette() {
    static const std::array<std::uint32_t, 16> colours = {
        0xFF00FF, 0x000000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0xFFD84A, 0xE0A82A, 0x805A00,
        0xFFF0A0, 0x5A6EA0, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000,
    };
    return colours;
}

IndexedCanvas ClipScene::frame(int index) {
    IndexedCanvas canvas(width, height, field);
    const int rightLeft = width - folderInset - folderWidth;
    drawFolderBack(canvas, folderInset, false);
    drawFolderBack(canvas, rightLeft, true);

    // The sheet leaves the middle of one folder and lands in the middle of the other along a
    // half sine, nose up on the way out and nose down on the way in.
    const double t = static_cast<double>(index) / (frameCount - 1);
    const double startX = folderInset + folderWidth / 2.0;
    const double endX = rightLeft + folderWidth / 2.0;
    const Point centre{startX + (endX - startX) * t,
                       restY - arcHeight * std::sin(std::numbers::pi * t)};
    drawPaper(canvas, centre, -tilt * std::sin(2.0 * std::numbers::pi * t));

    drawFolderFront(canvas, folderInset, false);
    drawFolderFront(canvas, rightLeft, true);
    return canvas;
}

void ClipScene::drawFolderBack(IndexedCanvas& canvas, int left, bool mirrored) {
    // The back wall with its tab at the upper left (upper right when mirrored).
    canvas.fillPolygon(
        place({{2, 17}, {5, 12}, {17, 12}, {20, 15}, {40, 15}, {40, 38}, {2, 38}}, left, mirrored),
        folderBack, folderEdge);
    canvas.drawLine(place({{6, 13}}, left, mirrored)[0], place({{16, 13}}, left, mirrored)[0],
                    folderLight);
}

void ClipScene::drawFolderFront(IndexedCanvas& canvas, int left, bool mirrored) {
    // The front flap leans away from the middle of the clip, open towards the flight.
    canvas.fillPolygon(
        place({{0, folderBottom + 1}, {38, folderBottom + 1}, {44, frontTop}, {7, frontTop}}, left,
              mirrored),
        folderFront, folderEdge);
    canvas.drawLine(place({{8.5, frontTop + 1.5}}, left, mirrored)[0],
                    place({{42, frontTop + 1.5}}, left, mirrored)[0], folderLight);
}

void ClipScene::drawPaper(IndexedCanvas& canvas, Point centre, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const auto at = [&](double x, double y) {
        return Point{centre.x + x * c - y * s, centre.y + x * s + y * c};
    };
    const double halfW = paperWidth / 2.0;
    const double halfH = paperHeight / 2.0;
    const double fold = 4.0;
    canvas.fillPolygon({at(-halfW, -halfH), at(halfW - fold, -halfH), at(halfW, -halfH + fold),
                        at(halfW, halfH), at(-halfW, halfH)},
                       white, darkGrey);
    // The dog-eared corner, and lines of writing.
    canvas.fillPolygon(
        {at(halfW - fold, -halfH), at(halfW - fold, -halfH + fold), at(halfW, -halfH + fold)},
        lightGrey, darkGrey);
    for (int line = 0; line < 4; ++line) {
        const double y = -halfH + 4.5 + 3.0 * line;
        const double end = line == 0 ? halfW - fold - 1.5 : halfW - 2.5 - (line == 3 ? 3.0 : 0.0);
        canvas.drawLine(at(-halfW + 2.5, y), at(end, y), ink);
    }
}

} // namespace tools
