#include "operations/CSplitByNumberDlg.h"

#include "common/CDataExchange.h"
#include "common/CFile.h"
#include "operations/CSegmentWriter.h"

#include "platform/gui/MessageBoxType.h"
#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"

#include <cstdint>

namespace {

constexpr unsigned information = platform::MessageBoxType::iconInformation;

// The messages come with two captions, told apart by the space in the name.
constexpr const char* sundrelCaption = "Sundrel - split by number ";
constexpr const char* sunDrelCaption = "Sun Drel - split by number ";

constexpr CSplitDlgBase::Messages messages{
    {"Please specify a file to be split ", sundrelCaption, information},
    {" Please give the number of segments required (non-zero) ", sunDrelCaption, information},
    {" Error Opening Source File for reading ", sundrelCaption, information},
    {" The file has been split ! ", sunDrelCaption, information},
};

} // namespace

CSplitByNumberDlg::CSplitByNumberDlg()
    : CSplitDlgBase(resources::DialogTemplates::splitByNumber, messages) {}

void CSplitByNumberDlg::ExchangeAmount(CDataExchange& exchange) {
    exchange.Signed(resources::ControlIds::Split::segmentCount, m_nSegments);
}

bool CSplitByNumberDlg::HasAmount() const {
    return m_nSegments != 0;
}

// Segments 1 to N - 1 take the length divided by N; the last takes what they leave.
void CSplitByNumberDlg::WriteSegments(CSegmentWriter& writer, CFile& source) {
    writer.PrepareProgress(m_nSegments);
    const std::uint64_t length = source.GetLength();
    // A negative count, taken as unsigned, is at least 2^31; it writes no full segment, so the
    // whole source becomes segment 1.
    const std::uint64_t segmentLength = length / static_cast<std::uint32_t>(m_nSegments);
    const std::uint64_t fullSegments = m_nSegments > 1 ? std::uint64_t(m_nSegments) - 1 : 0;
    writer.WriteSet(m_strPath, length, fullSegments, segmentLength);
}
