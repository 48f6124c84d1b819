#include "operations/FloppyDisks.h"

#include "support/Files.h"

#include <sys/mount.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace test {

namespace {

constexpr const char* driveVariable = "SUNDREL_DRIVE_A";

// Runs a shell command, bounded by coreutils' timeout, with its output discarded.
bool runQuietly(const std::string& command) {
    return std::system(("timeout 60 " + command + " >/dev/null 2>&1").c_str()) == 0;
}

FloppyDisks::Files regularFilesIn(const std::string& directory) {
    FloppyDisks::Files files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        if (entry.is_regular_file())
            files[entry.path().filename().string()] = Files::read(entry.path().string());
    }
    return files;
}

} // namespace

FloppyDisks::FloppyDisks(Kind kind, std::string tmpfsOptions, unsigned imageKiB)
    : m_kind(kind), m_tmpfsOptions(std::move(tmpfsOptions)), m_imageKiB(imageKiB) {
    std::string pattern = "/tmp/sundrel-floppy-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        m_failure = "cannot make a directory for drive A: " + std::string(std::strerror(errno));
        return;
    }
    m_root = pattern;
    m_mountPoint = m_root + "/drive";
    std::filesystem::create_directory(m_mountPoint);
    setenv(driveVariable, m_mountPoint.c_str(), 1);
}

FloppyDisks::~FloppyDisks() {
    if (m_inserted && umount2(m_mountPoint.c_str(), 0) != 0)
        umount2(m_mountPoint.c_str(), MNT_DETACH);
    unsetenv(driveVariable);
    if (!m_root.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
}

bool FloppyDisks::insert() {
    eject();
    if (m_root.empty())
        return false;
    if (m_kind == Kind::tmpfs) {
        if (mount("tmpfs", m_mountPoint.c_str(), "tmpfs", 0, m_tmpfsOptions.c_str()) != 0) {
            m_failure =
                "mounting a tmpfs is not permitted here: " + std::string(std::strerror(errno));
            return false;
        }
        m_inserted = true;
        return true;
    }
    return mountImage();
}

bool FloppyDisks::mountImage() {
    if (!runQuietly("sh -c 'command -v mkfs.ext2 || test -x /sbin/mkfs.ext2'")) {
        m_failure = "mkfs.ext2 is not installed";
        return false;
    }
    const std::string image = m_root + "/disk" + std::to_string(++m_images) + ".img";
    if (!runQuietly("env PATH=\"$PATH:/sbin:/usr/sbin\" mkfs.ext2 -q -F -b 1024 " + image + " " +
                    std::to_string(m_imageKiB))) {
        m_failure = "cannot format an ext2 image";
        return false;
    }
    if (!runQuietly("mount -t ext2 -o loop " + image + " " + m_mountPoint)) {
        m_failure = "mounting an ext2 image is not possible here (no privilege, loop device or "
                    "driver)";
        return false;
    }
    m_inserted = true;
    m_deviceBaseline = deviceBytesWritten().value_or(0);
    return true;
}

std::optional<std::uint64_t> FloppyDisks::bytesOnDevice() const {
    const auto written = deviceBytesWritten();
    if (!written)
        return std::nullopt;
    return *written - m_deviceBaseline;
}

// A loop device counts on from one medium to the next; so the count is taken at each insert.
std::optional<std::uint64_t> FloppyDisks::deviceBytesWritten() const {
    // /proc/self/mountinfo: ... mount point (5th) ... " - " type source options.
    std::ifstream mounts("/proc/self/mountinfo");
    std::string line;
    std::string device;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string id, parent, numbers, root, point;
        fields >> id >> parent >> numbers >> root >> point;
        const auto dash = line.find(" - ");
        if (point != m_mountPoint || dash == std::string::npos)
            continue;
        std::istringstream rest(line.substr(dash + 3));
        std::string type;
        rest >> type >> device;
    }
    if (device.rfind("/dev/", 0) != 0)
        return std::nullopt;
    // /sys/block/<dev>/stat: the seventh number counts the 512-byte sectors written.
    std::ifstream stat("/sys/block/" + device.substr(5) + "/stat");
    std::uint64_t value = 0;
    for (int k = 0; k < 7 && stat >> value; ++k) {
    }
    if (!stat)
        return std::nullopt;
    return value * 512;
}

void FloppyDisks::eject() {
    if (!m_inserted)
        return;
    m_takenOut.push_back(regularFilesIn(m_mountPoint));
    if (umount2(m_mountPoint.c_str(), 0) != 0)
        umount2(m_mountPoint.c_str(), MNT_DETACH);
    m_inserted = false;
}

} // namespace test
