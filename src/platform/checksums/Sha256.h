#pragma once

#include <cstddef>
#include <string>

namespace platform {

// One running SHA-256 digest, computed by OpenSSL's libcrypto with the CPU's SHA instructions
// where it has them.
class Sha256 final {
  public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void add(const void* bytes, std::size_t count);
    // The digest of every byte added since the last finish, as 64 lowercase hex digits; the next
    // add starts a new one.
    std::string finish();

  private:
    void start();

    struct Context;
    Context* m_context;
};

} // namespace platform
