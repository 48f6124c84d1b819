#pragma once

#include <string>

// Names the files of a segment set.
class CSegmentName final {
  public:
    // The name of segment number: the base name followed at once by the number in decimal.
    static std::string Make(const std::string& base, long long number);
};
