#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace test {

// A fresh directory below /tmp, removed with everything in it when the object goes.
class TempDir final {
  public:
    TempDir() : m_path("/tmp/sundrel-test-XXXXXX") {
        if (mkdtemp(m_path.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary directory");
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

  private:
    std::string m_path;
};

} // namespace test
