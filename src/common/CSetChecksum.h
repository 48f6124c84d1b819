#pragma once

#include "common/CSegmentTransfer.h"

#include "platform/checksums/ChunkHasher.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CFile;

// The checksum file of a segment set: base.sundrel.sha256sums beside the segments, in the format
// of sha256sum, listing segments 1 to N and then the whole file under the source's name. Its name
// ends in a letter, so no join takes it for a segment of any set. A split works out its digests
// while the segments are written and writes it last, under a temporary name until it is whole.
class CSetChecksum final {
  public:
    static std::string FileName(const std::string& base);
    // What the checksum file is written under until it is complete: as long as its name, so that
    // a name check of the one holds for the other.
    static std::string TemporaryName(const std::string& base);
    // A name as a line of the checksum file gives it: without its folder, or its "a:".
    static std::string NameInSet(const std::string& name);

    // What a join finds beside segment 1 of the set with this base name: no checksum file, or one
    // that does not list this set's files (the set is joined as it is); one that is no list of
    // checksums; or the digests of segments 1 to N that it lists.
    struct Listing {
        enum { none, damaged, listed } state = none;
        std::vector<std::string> digests;
    };
    // Raises CFileException naming the checksum file when it is there but cannot be read.
    static Listing Read(const std::string& base);

    // Whether splits work out and write checksum files: always, but for a benchmark that times
    // the split's own work apart from the hashing, for the whole process.
    static void SetWritten(bool written);

    explicit CSetChecksum(std::string base);

    // Removes a checksum file (and a temporary one) that an earlier split of this set left, so
    // that a split ending early leaves none. One that is not this user's file or link is raised as
    // a CFileException naming it, as a segment that cannot be created is.
    void RemoveEarlier() const;
    // Moves a segment's bytes from the source, adding them to the segment's digest and the whole
    // file's. Raises CFileException as CSegmentTransfer::Move does.
    void Move(CFile& source, CFile& segment, std::uint64_t count);
    // The segment just moved is whole; name is the name it was created under.
    void EndSegment(const std::string& name);
    // Writes the checksum file once every segment is ended: false, and nothing left, when the
    // medium has no room for it. Raises CFileException on any other failure.
    bool Write();

  private:
    // Worked out once: a medium without room for it is followed by another.
    const std::string& Text();

    enum Digest : int { segmentDigest, wholeDigest };
    static bool s_written;
    std::string m_base;
    std::vector<std::string> m_names;
    std::string m_text;
    platform::ChunkHasher m_hasher{2};
};
