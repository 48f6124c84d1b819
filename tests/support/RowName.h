#pragma once

#include <string>

namespace test {

// Names each row of a parameterised test after its `name` (written as an identifier), so that
// `ctest -R` runs one row and a skip covers that row alone.
inline constexpr auto rowName = [](const auto& info) { return std::string(info.param.name); };

} // namespace test
