#pragma once

#include "platform/files/FileError.h"

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

class Folder;

// Byte-exact file requests over POSIX file descriptors. A failure comes back with its cause and
// the system's error code.
class PosixFile final {
  public:
    enum class Access { read, write, readWrite };
    struct Opened {
        int descriptor;   // noDescriptor when the open failed
        FileError error;  // none on success
        std::string path; // what the name stood for (a name on drive A: in the medium's folder)
        // A regular file opened for reading: its length once it was held, which no instance
        // that opens files this way can change while it is held (where the file system keeps
        // locks).
        std::optional<std::uint64_t> length;
    };
    struct Transfer {
        std::uint64_t count; // bytes moved before the end of the file or the failure
        FileError error;
    };
    struct Length {
        std::uint64_t length;
        FileError error;
    };
    static constexpr int noDescriptor = -1;
    // Not an errno: the name stood for another file when opened than when looked at.
    static constexpr int changedMeanwhile = -1;

    // Opens a name as FileNames::resolve() reads it, once, exclusively between the processes that
    // open files this way: a file that another one holds open fails with EWOULDBLOCK. With create,
    // a missing file is created and an existing one emptied, but only once it is held, so a file
    // that another process holds is never emptied, nor one that this process holds open or has
    // reserved (EBUSY, see OpenFiles). Only regular files are opened, and block devices for
    // reading: a directory fails with EISDIR, anything else (and anything on the kernel's pseudo
    // file systems, or made on devtmpfs) with EACCES, without being opened, and so does whatever
    // SharedFolder forbids. A name on drive A: while it holds no medium fails with ENOMEDIUM. The
    // failure is classified against the path the name stood for (FileError::ofName). The folder,
    // when given, was looked at once for the files an operation opens in it (see Folder); the
    // refusals stay the same.
    static Opened open(const std::string& name, Access access, bool create,
                       const Folder* folder = nullptr);
    // Creates a file for writing under a name where nothing stands yet, not even a link (EEXIST
    // otherwise), and holds it as open() does.
    static Opened createNew(const std::string& name);

    // Reads count bytes, fewer only when the file ends first.
    static Transfer read(int descriptor, void* buffer, std::uint64_t count);
    // Writes count bytes; fewer only with an error, or with none when the file takes no more.
    static Transfer write(int descriptor, const void* buffer, std::uint64_t count);
    // Releases the descriptor in every case.
    static FileError close(int descriptor);
    // A block device's length is its size.
    static Length length(int descriptor);
    // Removes the file under a name as FileNames::resolve() reads it.
    static FileError remove(const std::string& name);
    // Brings the file's data and its directory entry to the medium: the file first, then the
    // directory that holds path (as Opened::path gave it). May block for as long as the medium
    // takes.
    static FileError flush(int descriptor, const std::string& path);

  private:
    // Opens an already resolved path into opened (its descriptor and length); answers the errno
    // of a failure, 0 on success.
    static int openPath(const std::string& path, Access access, bool create, const Folder* folder,
                        Opened& opened);
    static int createFree(const std::string& path, Access access, const Folder& folder,
                          Opened& opened);
    // One look at the name and one open of what it showed; changedMeanwhile when the name stood
    // for something else by the time it was opened.
    static int openLooked(const std::string& path, Access access, bool create, const Folder* folder,
                          Opened& opened);
    static int lock(int descriptor, bool readOnly);
    static int syncDirectoryOf(const std::string& path);
};

} // namespace platform
