// Writes the program's icon group: make-icon <output.ico>

#include "IcoWriter.h"
#include "IconDrawing.h"
#include "OutputFile.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-icon <output.ico>\n");
        return 2;
    }
    const auto bytes = tools::IcoWriter::write(
        {tools::IconDrawing::large(), tools::IconDrawing::small()}, tools::IconDrawing::palette());
    return tools::OutputFile::write(argv[1], bytes, "make-icon") ? 0 : 1;
}
