#pragma once

#include <optional>
#include <string>

namespace bench {

// A fresh XFS file system with reflinks, in an image file loop-mounted below a folder for as long
// as the object lives. Copies made on it with cp --reflink share their blocks, so joining them
// costs little more than the work done per file.
class ReflinkVolume final {
  public:
    // Nothing, and the reason in why, where the machine cannot make or mount one (no root, no
    // mkfs.xfs, no loop devices).
    static std::optional<ReflinkVolume> make(const std::string& folder, std::string& why);
    ReflinkVolume(ReflinkVolume&& other) noexcept;
    ReflinkVolume& operator=(ReflinkVolume&&) = delete;
    ReflinkVolume(const ReflinkVolume&) = delete;
    ReflinkVolume& operator=(const ReflinkVolume&) = delete;
    ~ReflinkVolume();

    const std::string& root() const { return m_root; }

  private:
    explicit ReflinkVolume(std::string root) : m_root(std::move(root)) {}

    std::string m_root; // empty once moved from
};

} // namespace bench
