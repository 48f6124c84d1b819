#pragma once

#include "operations/CSplitDlgBase.h"

// Cuts a file into segments of a given byte size next to it.
class CSplitBySizeDlg final : public CSplitDlgBase {
  public:
    CSplitBySizeDlg();

    unsigned m_nSize = 0;

  protected:
    void ExchangeAmount(CDataExchange& exchange) override;
    bool HasAmount() const override;
    void WriteSegments(CSegmentWriter& writer, CFile& source) override;
};
