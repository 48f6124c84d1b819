#pragma once

#include <functional>
#include <vector>

namespace bench {

// Sundrel and the rival tool, timed in turns on the same files. In each round both go once and
// take turns at going first; each starts with the earlier run's writes on disk (sync).
class Contest final {
  public:
    using Turn = std::function<double()>;

    // `ours` and `rival` each run once and answer the seconds it took; `afterRound`, when given,
    // runs once both have gone (to compare or remove what they made).
    void run(int rounds, const Turn& ours, const Turn& rival,
             const std::function<void()>& afterRound = {});
    double ours() const { return median(m_ours); }
    double rival() const { return median(m_rival); }
    // How many times as long Sundrel took.
    double ratio() const { return ours() / rival(); }

  private:
    static double median(std::vector<double> values);

    std::vector<double> m_ours;
    std::vector<double> m_rival;
};

} // namespace bench
