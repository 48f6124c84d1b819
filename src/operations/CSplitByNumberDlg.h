#pragma once

#include "operations/CSplitDlgBase.h"

// Cuts a file into a given number of segments next to it.
class CSplitByNumberDlg final : public CSplitDlgBase {
  public:
    CSplitByNumberDlg();

    int m_nSegments = 0;

  protected:
    void ExchangeAmount(CDataExchange& exchange) override;
    bool HasAmount() const override;
    Cut CutOf(std::uint64_t length) const override;
    bool MayCut(const Cut& cut) override;
};
