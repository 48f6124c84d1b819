#pragma once

#include "common/CFileException.h"

#include <cstdint>
#include <optional>
#include <string>

namespace platform {
class Folder;
}

// A file opened for reading or created for writing, held exclusively while it is open. Reads and
// writes move the whole count; failures raise CFileException.
class CFile final {
  public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000,
        typeBinary = 0x8000,
    };

    CFile();
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens the name as given and keeps its full path. On failure returns false and, when error
    // is given, fills it with the cause, the system's error code and the name as given. An
    // operation that opens many files in one folder gives it, looked at once (platform::Folder).
    bool Open(const std::string& fileName, unsigned openFlags, CFileException* error = nullptr,
              const platform::Folder* folder = nullptr);
    // Creates a file for writing where nothing stands under the name yet, not even a link; as
    // Open otherwise.
    bool OpenNew(const std::string& fileName, CFileException* error = nullptr);
    // Creates a work file (platform::WorkFiles) in the folder that holds the name, as OpenNew
    // does; a failure names the name given.
    bool OpenWork(const std::string& besideName, CFileException* error = nullptr);
    // Gives this file the permissions of other, and its owner and group where the system lets the
    // user give them. Raises CFileException naming this file.
    void KeepAttributesOf(const CFile& other);
    // Returns the bytes read: count, or fewer when the file ends first.
    std::uint64_t Read(void* buffer, std::uint64_t count);
    void Write(const void* buffer, std::uint64_t count);
    void Close();
    // A file opened only for reading answers the length it had once it was held: no instance can
    // change it while it is held, so it is not asked again.
    std::uint64_t GetLength() const;
    const std::string& GetFilePath() const;
    bool IsOpen() const;
    // Brings the written bytes and the file's directory entry to the medium, off the GUI thread:
    // windows repaint and timers run meanwhile, user input waits. Any failure raises
    // CFileException with the file's full path.
    void Flush();
    // Takes room on the medium for up to count bytes in a file just created, before they are
    // written: count, or the most that fits (0 when nothing does). Where the medium keeps no
    // reservations, count.
    std::uint64_t Reserve(std::uint64_t count);

    static void Remove(const std::string& fileName);
    // Removes this user's file or link under the name (never what a link leads to); nothing there
    // is no failure. Anything else is raised as a CFileException naming the file as given.
    static void RemoveOwn(const std::string& fileName);
    // Gives a file another name in its folder, replacing a file under that name or, without
    // replace, returning false when the name is taken. With flush the folder is brought to the
    // medium. Any other failure raises CFileException naming the new name.
    static bool Rename(const std::string& from, const std::string& to, bool replace, bool flush);
    // Whether the file lies on a removable medium (a USB stick, a memory card, a floppy). Asked
    // of the system once per open, unless the caller has said.
    bool IsOnRemovableMedium() const;
    // Tells the open file what the caller already knows of its medium: the segments of a split
    // next to its source all lie in one folder, so the first one's answer holds for the rest.
    void SetOnRemovableMedium(bool removable) { m_onRemovableMedium = removable; }

  private:
    void Reset();
    template <typename Opened>
    bool Take(Opened&& opened, const std::string& fileName, CFileException* error);

    friend class CSegmentTransfer; // moves bytes between the descriptors of two open files

    static constexpr int noDescriptor = -1;
    int m_descriptor = noDescriptor;
    bool m_closeOnDelete = false;
    std::string m_path;                // what the name stood for when it was opened
    mutable std::string m_strFileName; // its full path, once asked for
    mutable std::optional<bool> m_onRemovableMedium;
    std::optional<std::uint64_t> m_lengthWhenHeld;
};
