#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace test {

// A drive A: for one test: a fixed mount point that SUNDREL_DRIVE_A names, into which fresh
// media are inserted (mounted) and from which they are taken out (unmounted), as a user swaps
// disks. Each medium's files are kept when it is taken out, for the test to check. Mounting needs
// a privilege: check failure() after each insert().
class FloppyDisks final {
  public:
    enum class Kind { tmpfs, ext2 };
    using Files = std::map<std::string, std::string>; // name -> content

    // A tmpfs mounted with those options, or an ext2 image of that many KiB.
    FloppyDisks(Kind kind, std::string tmpfsOptions, unsigned imageKiB = 1440);
    ~FloppyDisks();
    FloppyDisks(const FloppyDisks&) = delete;
    FloppyDisks& operator=(const FloppyDisks&) = delete;

    // Takes out the medium in the drive, if any, and inserts a fresh one. False when it cannot
    // be mounted; failure() says why.
    bool insert();
    // Takes out the medium: its files are kept and the mount point stays a bare directory.
    void eject();
    bool inserted() const { return m_inserted; }
    const std::string& failure() const { return m_failure; }
    const std::string& mountPoint() const { return m_mountPoint; }
    // The bytes that have reached the block device of the medium in the drive since it was
    // inserted: what a user who pulls it now would keep. Nothing for a medium without a device.
    std::optional<std::uint64_t> bytesOnDevice() const;
    // The files of every medium taken out so far, in the order they were inserted.
    const std::vector<Files>& takenOut() const { return m_takenOut; }

  private:
    bool mountImage();
    std::optional<std::uint64_t> deviceBytesWritten() const;

    Kind m_kind;
    std::string m_tmpfsOptions;
    unsigned m_imageKiB;
    std::string m_root;
    std::string m_mountPoint;
    std::string m_failure;
    bool m_inserted = false;
    int m_images = 0;
    std::uint64_t m_deviceBaseline = 0; // the device's count when the medium went in
    std::vector<Files> m_takenOut;
};

} // namespace test
