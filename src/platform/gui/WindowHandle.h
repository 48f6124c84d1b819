#pragma once

#include <cstdint>

namespace platform {

// Names a real window or control of this process; a handle of a destroyed window stays invalid.
class WindowHandle final {
  public:
    constexpr WindowHandle() = default;
    constexpr explicit WindowHandle(std::uint32_t value) : m_value(value) {}
    constexpr std::uint32_t value() const { return m_value; }
    constexpr bool isNull() const { return m_value == 0; }
    constexpr bool operator==(const WindowHandle&) const = default;

  private:
    std::uint32_t m_value = 0;
};

} // namespace platform
