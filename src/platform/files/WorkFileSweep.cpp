#include "platform/files/WorkFileSweep.h"

#include "platform/files/WorkFiles.h"

#include <system_error>

namespace platform {

WorkFileSweep::WorkFileSweep(const std::string& path) {
    try {
        m_thread = std::thread([path] { WorkFiles::sweep(path); });
    } catch (const std::system_error&) {
        WorkFiles::sweep(path); // no thread to spare: the operation waits for it instead
    }
}

WorkFileSweep::~WorkFileSweep() {
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace platform
