#include "IconDrawing.h"

#include "IcoWriter.h"

#include <string_view>

namespace tools {

namespace {

enum Colour : std::uint8_t {
    black,
    maroon,
    green,
    olive,
    navy,
    purple,
    teal,
    silver,
    grey,
    red,
    lime,
    yellow,
    blue,
    fuchsia,
    aqua,
    white,
};

// One character a pixel: '.' transparent, k black, w white, s silver, g grey, n navy, r red,
// m maroon.
struct Ink {
    char letter;
    std::uint8_t colour;
};
constexpr Ink inks[] = {{'k', black}, {'w', white}, {'s', silver}, {'g', grey},
                        {'n', navy},  {'r', red},   {'m', maroon}};

IndexedCanvas fromArt(std::initializer_list<std::string_view> rows) {
    const int size = static_cast<int>(rows.size());
    IndexedCanvas canvas(size, size, IcoWriter::transparent);
    int y = 0;
    for (const auto row : rows) {
        for (int x = 0; x < size && x < static_cast<int>(row.size()); ++x)
            for (const Ink& ink : inks)
                if (row[x] == ink.letter)
                    canvas.set(x, y, ink.colour);
        ++y;
    }
    return canvas;
}

} // namespace

const std::array<std::uint32_t, 16>& IconDrawing::palette() {
    static const std::array<std::uint32_t, 16> colours = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
    };
    return colours;
}

// A written page cut into strips, each pushed a little further right (the segments), and a pair
// of open scissors in the cut.
IndexedCanvas IconDrawing::large() {
    // clang-format off
    return fromArt({
        "................................",
        ".kkkkkkkkkkkkkkk................",
        ".kwwwwwwwwwwwwwkk...............",
        ".kwwwwwwwwwwwwwksk..............",
        ".kwnnnnnnnnnnwwkssk.............",
        ".kwwwwwwwwwwwwwkkkkk............",
        ".kwwwwwwwwwwwwwwwwwk............",
        ".kwnnnnnnnnnnnnnnwwk............",
        ".kwwwwwwwwwwwwwwwwwk............",
        ".kkkkkkkkkkkkkkkkkkk............",
        "................................",
        "..kkkkkkkkkkkkkkkkkkk......mmm..",
        "..kwwwwwwwwwwwwwwwwwk.....mrrrm.",
        "..kwnnnnnnnnnnnnnnnwk....mrm.mrm",
        "..kwwwwwwwwwkkkkkkkkk....mr...rm",
        "..kwnnnnnnnkkksssssskkk..mrm.mrm",
        "..kwwwwwwwwwwwkkkssssssk..mrrrm.",
        "..kkkkkkkkkkkkkkkkkkssssk.kmmm..",
        "....................kkkssk......",
        ".......................kgk......",
        "....................kkkssk......",
        "...kkkkkkkkkkkkkkkkkssssk.kmmm..",
        "...kwwwwwwwwwwkkkssssssk..mrrrm.",
        "...kwnnnnnnkkksssssskkk..mrm.mrm",
        "...kwwwwwwwwkkkkkkkkwk...mr...rm",
        "...kwnnnnnnnnnnnnnnnwk...mrm.mrm",
        "...kwwwwwwwwwwwwwwwwwk....mrrrm.",
        "...kwnnnnnnnnnwwwwwwwk.....mmm..",
        "...kwwwwwwwwwwwwwwwwwk..........",
        "...kkkkkkkkkkkkkkkkkkk..........",
        "................................",
        "................................",
    });
    // clang-format on
}

IndexedCanvas IconDrawing::small() {
    // clang-format off
    return fromArt({
        "................",
        ".kkkkkkkkkk.....",
        ".kwwwwwwwwk.....",
        ".kwnnnnnwwk.....",
        ".kwwwwwwwwk.....",
        ".kwnnnnwwwk..rr.",
        ".kwwkkkwwwk.r..r",
        ".kkkkksskkk.r..r",
        "......kkssk..rr.",
        "........kkkgk...",
        "..kkkkkksskk.rr.",
        "..kwwksskwwkr..r",
        "..kwkkknnwwkr..r",
        "..kwwwwwwwwk.rr.",
        "..kkkkkkkkkk....",
        "................",
    });
    // clang-format on
}

} // namespace tools
