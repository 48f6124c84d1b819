#pragma once

#include "platform/files/MountTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Drive A:, the removable medium that receives segments one disk at a time.
class DriveA final {
  public:
    // One look at the drive, held while the object holds it: in that time the free space and
    // every name on drive A: are taken from the medium that was in the drive when it looked, so a
    // medium swapped in between is never measured as one medium and written as another, and a
    // medium pulled fails what is asked of it. Holding a look keeps the medium from being
    // unmounted: let it go before the user is asked to change the medium. Without a look held,
    // each request looks at the drive anew.
    class Look final {
      public:
        Look() = default;
        ~Look();
        Look(const Look&) = delete;
        Look& operator=(const Look&) = delete;
        // Looks at the drive now (letting go of an earlier look), and holds what it found.
        void take();
        void release();

      private:
        bool m_held = false;
    };

    // The directory that receives the segments. SUNDREL_DRIVE_A names it when set: any existing
    // directory, mount point or not, as long as it has not dropped off the medium it was seen on
    // (a directory once seen on a mount deeper than the one that holds it now is no medium, so
    // nothing lands on the disk below a medium's mount point once the medium is out). Otherwise
    // it is the root of the most recently mounted removable medium. Nothing when there is no
    // medium.
    static std::optional<std::string> directory();
    // The same directory by the name it had when it was looked at: what a report shows.
    static std::optional<std::string> directoryName();

    // What one new file in drive A:'s directory can take, in bytes, by the file system of the
    // mount that holds it. Nothing when there is no medium or the file system cannot be asked.
    static std::optional<std::uint64_t> freeSpace();

    // The mount point of the most recently mounted removable medium in mounts: one mounted below
    // /media/ or /run/media/, or whose block device (or the disk it is a partition of) sysfs, found
    // below sysRoot, calls removable.
    static std::optional<std::string> mostRecentMedium(const std::vector<MountTable::Mount>& mounts,
                                                       const std::string& sysRoot = "/sys");

  private:
    struct Medium {
        std::string directory;
        std::string fileSystem;
    };
    static std::optional<Medium> find();
    static std::optional<Medium> namedDirectory(const std::string& named);
};

} // namespace platform
