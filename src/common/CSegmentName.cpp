#include "common/CSegmentName.h"

std::string CSegmentName::Make(const std::string& base, long long number) {
    return base + std::to_string(number);
}
