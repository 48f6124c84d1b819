#include "common/CFileException.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

struct Mapping {
    const char* label;
    int errnoValue;
    bool parentExists;
    int cause;
};

TEST(CFileException, SystemErrorsMapOntoCausesByMeaning) {
    const Mapping rows[] = {
        {"no error", 0, true, CFileException::none},
        {"missing file", ENOENT, true, CFileException::fileNotFound},
        {"missing directory on the way", ENOENT, false, CFileException::badPath},
        {"bad descriptor", EBADF, true, CFileException::fileNotFound},
        {"not a directory", ENOTDIR, true, CFileException::badPath},
        {"name too long", ENAMETOOLONG, true, CFileException::badPath},
        {"symbolic link loop", ELOOP, true, CFileException::badPath},
        {"name the file system refuses", EINVAL, true, CFileException::badPath},
        {"process out of descriptors", EMFILE, true, CFileException::tooManyOpenFiles},
        {"system out of descriptors", ENFILE, true, CFileException::tooManyOpenFiles},
        {"permission", EACCES, true, CFileException::accessDenied},
        {"operation not permitted", EPERM, true, CFileException::accessDenied},
        {"read-only medium", EROFS, true, CFileException::accessDenied},
        {"a directory", EISDIR, true, CFileException::accessDenied},
        {"already exists", EEXIST, true, CFileException::accessDenied},
        {"too many links", EMLINK, true, CFileException::directoryFull},
        {"not seekable", ESPIPE, true, CFileException::badSeek},
        {"offset overflow", EOVERFLOW, true, CFileException::badSeek},
        {"medium error", EIO, true, CFileException::hardIO},
        {"no such device or address", ENXIO, true, CFileException::hardIO},
        {"no such device", ENODEV, true, CFileException::hardIO},
        {"no medium", ENOMEDIUM, true, CFileException::hardIO},
        {"remote I/O", EREMOTEIO, true, CFileException::hardIO},
        {"held by another", EWOULDBLOCK, true, CFileException::sharingViolation},
        {"busy", EBUSY, true, CFileException::sharingViolation},
        {"program running", ETXTBSY, true, CFileException::sharingViolation},
        {"no locks left", ENOLCK, true, CFileException::lockViolation},
        {"deadlock", EDEADLK, true, CFileException::lockViolation},
        {"no space", ENOSPC, true, CFileException::diskFull},
        {"quota", EDQUOT, true, CFileException::diskFull},
        {"file too large", EFBIG, true, CFileException::genericException},
        {"out of memory", ENOMEM, true, CFileException::genericException},
        {"anything else", EXDEV, true, CFileException::genericException},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CFileException::OsErrorToCause(row.errnoValue, row.parentExists), row.cause)
            << row.label;
}

struct Message {
    const char* label;
    int cause;
    std::string fileName;
    std::string text;
};

TEST(CFileException, TheReportPutsTheFileNameIntoTheTemplateOfItsCause) {
    const std::string longName(600, 'n');
    const Message rows[] = {
        {"invalid path", 3, "/data/x1", "/data/x1 contains an invalid path."},
        {"no name", 13, "", "Disk full while accessing an unnamed file."},
        {"past the end", 14, "/d/a.bin", "An attempt was made to access /d/a.bin past its end."},
        {"a template without a full stop", 9, "f", "Seek failed on f"},
        {"no error", 0, "f", "No error occurred."},
        {"a name that looks like a template", 2, "%1.bin", "%1.bin was not found."},
        {"cut at 511 characters", 5, longName, ("Access to " + longName).substr(0, 511)},
    };
    for (const auto& row : rows) {
        const CFileException error(row.cause, -1, row.fileName);
        EXPECT_EQ(error.GetErrorMessage(), row.text) << row.label;
    }
}

TEST(CFileException, ACutReportNeverEndsInHalfACharacter) {
    // "Access to " is 10 bytes, so the 251st two-byte character lies across the 511th byte.
    std::string name;
    for (int i = 0; i < 251; ++i)
        name += "\xC3\xA9";
    const std::string message = CFileException(5, -1, name).GetErrorMessage();
    EXPECT_EQ(message.size(), 510u);
    EXPECT_EQ(message, ("Access to " + name).substr(0, 510));
}

} // namespace
