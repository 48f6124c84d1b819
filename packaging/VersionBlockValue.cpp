// Prints one value of the program's version block: version-block-value <key>
// The desktop entry, the AppStream metainfo and the package description are written from it, so
// the installed program is described in the words the program file carries.

#include "resources/VersionInfo.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: version-block-value <key>\n");
        return 2;
    }
    const auto value = resources::VersionInfo::program().value(argv[1]);
    if (!value) {
        std::fprintf(stderr, "version-block-value: the version block has no key %s\n", argv[1]);
        return 1;
    }
    std::printf("%s\n", value->c_str());
    return 0;
}
