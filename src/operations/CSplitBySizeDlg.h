#pragma once

#include "operations/CSplitDlgBase.h"

#include <cstdint>

// Cuts a file into segments of a given byte size next to it.
class CSplitBySizeDlg final : public CSplitDlgBase {
  public:
    CSplitBySizeDlg();

    std::uint64_t m_nSize = 0;

  protected:
    void ExchangeAmount(CDataExchange& exchange) override;
    bool HasAmount() const override;
    Cut CutOf(std::uint64_t length) const override;
};
