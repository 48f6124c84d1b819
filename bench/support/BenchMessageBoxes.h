#pragma once

#include "platform/gui/MessageBoxService.h"

#include <string>
#include <vector>

namespace bench {

// Stands in for the message boxes while it lives: answers every box with OK and keeps its text,
// so a failed operation is seen.
class BenchMessageBoxes final : public platform::MessageBoxService {
  public:
    BenchMessageBoxes();
    ~BenchMessageBoxes() override;
    BenchMessageBoxes(const BenchMessageBoxes&) = delete;
    BenchMessageBoxes& operator=(const BenchMessageBoxes&) = delete;

    int show(const platform::MessageBoxRequest& request) override;
    const std::vector<std::string>& texts() const { return m_texts; }

  private:
    std::vector<std::string> m_texts;
};

} // namespace bench
