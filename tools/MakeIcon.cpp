// Writes the program's icon group: make-icon <output.ico>

#include "IcoWriter.h"
#include "IconDrawing.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-icon <output.ico>\n");
        return 2;
    }
    const auto bytes = tools::IcoWriter::write(
        {tools::IconDrawing::large(), tools::IconDrawing::small()}, tools::IconDrawing::palette());
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make-icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
