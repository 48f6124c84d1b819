#include "platform/checksums/Sha256.h"

#include <openssl/evp.h>

#include <new>

namespace platform {

struct Sha256::Context {
    EVP_MD* algorithm = EVP_MD_fetch(nullptr, "SHA256", nullptr);
    EVP_MD_CTX* digest = EVP_MD_CTX_new();
    ~Context() {
        EVP_MD_CTX_free(digest);
        EVP_MD_free(algorithm);
    }
};

Sha256::Sha256() : m_context(new Context) {
    if (m_context->algorithm == nullptr || m_context->digest == nullptr) {
        delete m_context;
        throw std::bad_alloc();
    }
    start();
}

Sha256::~Sha256() {
    delete m_context;
}

void Sha256::start() {
    if (EVP_DigestInit_ex(m_context->digest, m_context->algorithm, nullptr) != 1)
        throw std::bad_alloc();
}

void Sha256::add(const void* bytes, std::size_t count) {
    if (count != 0 && EVP_DigestUpdate(m_context->digest, bytes, count) != 1)
        throw std::bad_alloc();
}

std::string Sha256::finish() {
    unsigned char value[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(m_context->digest, value, &length) != 1)
        throw std::bad_alloc();
    static constexpr char hex[] = "0123456789abcdef";
    std::string text;
    for (unsigned int k = 0; k < length; ++k) {
        text += hex[value[k] >> 4];
        text += hex[value[k] & 0xf];
    }
    start();
    return text;
}

} // namespace platform
