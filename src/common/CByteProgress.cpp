#include "common/CByteProgress.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <utility>

namespace {
CByteProgress* running = nullptr;
} // namespace

CByteProgress::CByteProgress(CProgressCtrl& bar, std::uint64_t total)
    : m_bar(bar), m_outer(running) {
    SetTotal(total);
    running = this;
}

CByteProgress::CByteProgress(CProgressCtrl& bar, Measuring total)
    : m_bar(bar), m_measuring(std::move(total)), m_outer(running) {
    m_bar.SetRange32(0, 0);
    m_bar.SetRange32(0, 1);
    m_high = 0; // nothing shows until the total is known
    TakeTotal(false);
    running = this;
}

// A work that ends before its total is known does not wait for the rest of the measuring.
CByteProgress::~CByteProgress() {
    running = m_outer;
    TakeTotal(false);
    if (m_measuring.total.valid()) {
        if (m_measuring.giveUp)
            m_measuring.giveUp->store(true);
        try {
            m_measuring.total.get(); // what it measured before it gave up counts for nothing
        } catch (...) {
        }
    }
    m_bar.SetPos(m_full ? m_high : PositionOf(m_moved));
}

void CByteProgress::SetTotal(std::uint64_t total) {
    m_shift = 0;
    while ((total >> m_shift) > static_cast<std::uint64_t>(INT_MAX))
        ++m_shift;
    m_high = total == 0 ? 1 : static_cast<int>(total >> m_shift);
    m_bar.SetRange32(0, 0);
    m_bar.SetRange32(0, m_high);
}

void CByteProgress::TakeTotal(bool wait) {
    std::future<std::uint64_t>& total = m_measuring.total;
    if (!total.valid())
        return;
    if (!wait && total.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    try {
        SetTotal(total.get());
    } catch (...) {
        // A measuring that failed leaves the bar empty until the work fills it.
    }
}

void CByteProgress::Moved(std::uint64_t bytes) {
    if (running != nullptr)
        running->m_moved += bytes;
}

void CByteProgress::Show(std::uint64_t inSegment) {
    if (running == nullptr)
        return;
    running->TakeTotal(false);
    running->m_bar.SetPos(running->PositionOf(running->m_moved + inSegment));
}

void CByteProgress::Fill() {
    TakeTotal(true);
    m_full = true;
    m_bar.SetPos(m_high);
}

int CByteProgress::PositionOf(std::uint64_t bytes) const {
    return static_cast<int>(std::min(bytes >> m_shift, static_cast<std::uint64_t>(m_high)));
}
