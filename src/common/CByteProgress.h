#pragma once

#include "common/CProgressCtrl.h"

#include <atomic>
#include <cstdint>
#include <future>
#include <memory>

// The bar of a running split or join, moved by the bytes that have reached their destination,
// so that it moves inside a long segment too, not only between segments. Its range is the bytes
// the operation will move, halved as often as the bar's 32-bit range needs; an operation that
// moves no bytes has the range 0 to 1. While an object lives, the transfer reports to it; the
// bar is moved only when windows repaint, so a run of small segments pays nothing per segment
// for it.
class CByteProgress final {
  public:
    // Empties the bar (one left full by an earlier run starts again) and gives it the range.
    CByteProgress(CProgressCtrl& bar, std::uint64_t total);
    // A total still being measured (a set of many segments, looked at one by one beside the
    // work), and the flag that tells the measuring to give up when the work ends first.
    struct Measuring {
        std::future<std::uint64_t> total;
        std::shared_ptr<std::atomic<bool>> giveUp;
    };
    // The same for a total being measured: the bar stands empty until the total is known.
    CByteProgress(CProgressCtrl& bar, Measuring total);
    // Leaves the bar where the bytes stopped, or full after Fill().
    ~CByteProgress();
    CByteProgress(const CByteProgress&) = delete;
    CByteProgress& operator=(const CByteProgress&) = delete;

    // Bytes of a segment that have reached their destination.
    static void Moved(std::uint64_t bytes);
    // Moves the running bar to the bytes moved so far, and inSegment more of the segment in hand.
    static void Show(std::uint64_t inSegment = 0);
    // The operation moved all it had to.
    void Fill();

  private:
    void SetTotal(std::uint64_t total);
    // Takes the total once it has been measured; with wait, waits for it.
    void TakeTotal(bool wait);
    int PositionOf(std::uint64_t bytes) const;

    CProgressCtrl& m_bar;
    int m_shift = 0; // the range is the total shifted right by this
    int m_high = 1;
    std::uint64_t m_moved = 0;
    bool m_full = false;
    Measuring m_measuring; // its total valid until taken
    CByteProgress* m_outer;
};
