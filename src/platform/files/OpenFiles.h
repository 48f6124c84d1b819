#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// A file as the system knows it, whatever name leads to it.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The files this process holds open, and those an operation has said it will read. A file about
// to be emptied must be none of them, and a file held for writing is not read back: where the
// file system keeps no locks between the descriptors of one process (NFS), this is what keeps a
// join from emptying one of its own segments.
class OpenFiles final {
  public:
    static void add(int descriptor, FileIdentity identity, bool writing);
    static void remove(int descriptor);
    // Held open by this process, for writing or otherwise, or reserved.
    static bool inUse(FileIdentity identity);
    static bool heldForWriting(FileIdentity identity);

    // Keeps the files that stand under the names added to it from being emptied while it lives.
    class Reservation final {
      public:
        Reservation() = default;
        ~Reservation();
        Reservation(const Reservation&) = delete;
        Reservation& operator=(const Reservation&) = delete;
        // False, and nothing reserved, when no file stands under the name. Otherwise the file's
        // length is added to the reservation's bytes().
        bool add(const std::string& name);
        // The lengths of the files added so far, together, as they were when each was added.
        std::uint64_t bytes() const { return m_bytes; }

      private:
        std::vector<FileIdentity> m_identities;
        std::uint64_t m_bytes = 0;
    };
};

} // namespace platform
