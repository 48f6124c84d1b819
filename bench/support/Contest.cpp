#include "support/Contest.h"

#include <unistd.h>

#include <algorithm>

namespace bench {

void Contest::run(int rounds, const Turn& ours, const Turn& rival,
                  const std::function<void()>& afterRound) {
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            sync();
            if ((round + turn) % 2 == 0)
                m_ours.push_back(ours());
            else
                m_rival.push_back(rival());
        }
        if (afterRound)
            afterRound();
    }
}

double Contest::median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace bench
