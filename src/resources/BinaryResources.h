#pragma once

#include <span>

namespace resources {

// The program's binary resources, looked up by type and numeric id: the animation clip (a RIFF AVI
// file) and the icon group (.ico bytes). An id the program does not have gives no bytes.
class BinaryResources final {
  public:
    enum : int {
        copyAnimationClip = 136,
        applicationIcon = 128,
    };

    static std::span<const unsigned char> clip(int id);
    static std::span<const unsigned char> icon(int id);
};

} // namespace resources
