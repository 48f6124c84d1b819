#include "operations/CSplitBySizeDlg.h"

#include "common/CDataExchange.h"

#include "platform/gui/MessageBoxType.h"
#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"

#include <cstdint>

namespace {

constexpr unsigned plainBox = 0;
constexpr unsigned information = platform::MessageBoxType::iconInformation;

// Three captions: with and without the space in the name, and with a trailing blank. The open
// failure has none of them: it shows the display name.
constexpr CSplitDlgBase::Messages messages{
    {"Please specify a file to be split ", "Sundrel - split by size", information},
    {" Please give the size of segments required (non-zero) ", "Sun Drel - split by size",
     information},
    {" Error Opening File for reading ", nullptr, plainBox},
    {" The file has been split ! ", "Sun Drel - split by size ", information},
};

} // namespace

CSplitBySizeDlg::CSplitBySizeDlg()
    : CSplitDlgBase(resources::DialogTemplates::splitBySize, messages) {}

void CSplitBySizeDlg::ExchangeAmount(CDataExchange& exchange) {
    exchange.Unsigned(resources::ControlIds::Split::segmentSize, m_nSize);
}

bool CSplitBySizeDlg::HasAmount() const {
    return m_nSize != 0;
}

// Every segment but the last holds the given size; the last also takes the remainder, so none is
// shorter than the size. A source shorter than the size becomes one segment, an empty one none.
CSplitDlgBase::Cut CSplitBySizeDlg::CutOf(std::uint64_t length) const {
    const std::uint64_t segments = length / m_nSize;
    return {length, segments > 0 ? segments - 1 : 0, m_nSize};
}
