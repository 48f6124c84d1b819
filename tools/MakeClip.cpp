// Writes the copy animation as a RIFF AVI file: make-clip <output.avi>

#include "AviWriter.h"
#include "ClipScene.h"

#include <cstdio>
#include <fstream>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-clip <output.avi>\n");
        return 2;
    }
    std::vector<tools::IndexedCanvas> frames;
    for (int i = 0; i < tools::ClipScene::frameCount; ++i)
        frames.push_back(tools::ClipScene::frame(i));
    const std::uint32_t tenthOfASecond = 100000;
    const auto bytes = tools::AviWriter::write(frames, tools::ClipScene::palette(), tenthOfASecond);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make-clip: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
