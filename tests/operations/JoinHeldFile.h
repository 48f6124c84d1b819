#pragma once

#include <string>

namespace test {

// Another process that holds a file open, locked as the program locks the files it uses, until
// the object goes.
class JoinHeldFile final {
  public:
    explicit JoinHeldFile(const std::string& path);
    ~JoinHeldFile();
    JoinHeldFile(const JoinHeldFile&) = delete;
    JoinHeldFile& operator=(const JoinHeldFile&) = delete;

    // Empty once the other process holds the file; otherwise why it does not.
    const std::string& failure() const { return m_failure; }

  private:
    int m_child = -1;
    int m_release = -1; // closing it lets the other process end
    std::string m_failure;
};

} // namespace test
