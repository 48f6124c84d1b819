#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The folder in which an operation makes or reads many files (the segments of a set), looked at
// once for all of them: what holds for every file of its file system (whether it is the kernel's
// own or holds device nodes) and for every name in it (whether others may plant names there) is
// not asked again for each file, and its files are reached from a descriptor of the folder rather
// than by walking the whole path each time. The folder held is the one looked at: files made while
// it is held land in it, even when its path has meanwhile come to lead elsewhere.
class Folder final {
  public:
    // The folder that holds the file a name stands for (FileNames::resolve()). A name on drive A:
    // (whose medium may change between files) or a folder that cannot be opened gives an unused
    // folder: every file is then opened by its name alone.
    explicit Folder(const std::string& name);
    ~Folder();
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    // The name of the entry that path (as FileNames::resolve() gave it) stands for in this folder,
    // or nullptr when the folder is unused or path lies elsewhere.
    const char* entryOf(const std::string& path) const;

    int descriptor() const { return m_descriptor; }
    // The file system the folder lies on, as stat() numbers it for each of its files.
    std::uint64_t device() const { return m_device; }
    bool pseudo() const { return m_pseudo; }
    bool holdsDeviceNodes() const { return m_deviceNodes; }
    // Sticky and writable by others than its owner (see SharedFolder).
    bool shared() const { return m_shared; }
    unsigned owner() const { return m_owner; }

  private:
    int m_descriptor = -1;
    std::string m_path; // as directoryOf() gives it for the paths of the folder's files
    std::uint64_t m_device = 0;
    bool m_pseudo = false;
    bool m_deviceNodes = false;
    bool m_shared = false;
    unsigned m_owner = 0;
};

} // namespace platform
