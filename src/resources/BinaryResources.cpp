#include "resources/BinaryResources.h"

#include <cstddef>

// Made at build time from the clip generator's output and from sundrel.ico.
namespace resources::embedded {
extern const unsigned char animationClip[];
extern const std::size_t animationClipSize;
extern const unsigned char icon[];
extern const std::size_t iconSize;
} // namespace resources::embedded

namespace resources {

std::span<const unsigned char> BinaryResources::clip(int id) {
    if (id != copyAnimationClip)
        return {};
    return {embedded::animationClip, embedded::animationClipSize};
}

std::span<const unsigned char> BinaryResources::icon(int id) {
    if (id != applicationIcon)
        return {};
    return {embedded::icon, embedded::iconSize};
}

} // namespace resources
