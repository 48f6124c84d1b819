#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace tools {

// The file a generator writes its result to.
class OutputFile final {
  public:
    // Writes the bytes as the whole file; on failure says so on stderr, naming the generator, and
    // answers false.
    static bool write(const char* path, const std::vector<std::uint8_t>& bytes,
                      const std::string& generator) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out)
            std::fprintf(stderr, "%s: cannot write %s\n", generator.c_str(), path);
        return static_cast<bool>(out);
    }
};

} // namespace tools
