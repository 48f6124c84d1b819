// Writes one size of an icon group as a PNG file: ico-to-png <input.ico> <size> <output.png>

#include "platform/codecs/IconImage.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: ico-to-png <input.ico> <size> <output.png>\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
    const auto icon = platform::IconImage::parse(bytes);
    if (!icon) {
        std::fprintf(stderr, "ico-to-png: %s is not an icon\n", argv[1]);
        return 1;
    }
    const int size = std::stoi(argv[2]);
    if (!icon->savePng(QString::fromLocal8Bit(argv[3]), size)) {
        std::fprintf(stderr, "ico-to-png: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
