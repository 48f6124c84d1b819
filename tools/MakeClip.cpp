// Writes the copy animation as a RIFF AVI file: make-clip <output.avi>

#include "AviWriter.h"
#include "ClipScene.h"
#include "OutputFile.h"

#include <cstdio>
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
    return tools::OutputFile::write(argv[1], bytes, "make-clip") ? 0 : 1;
}
