#include "operations/CSplitByNumberDlg.h"

#include "common/CDataExchange.h"

#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/MessageBoxType.h"
#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"
#include "resources/StringTable.h"

#include <cstdint>
#include <string>

namespace {

namespace ids = resources::ControlIds::Split;
constexpr unsigned information = platform::MessageBoxType::iconInformation;
constexpr unsigned countQuestion = platform::MessageBoxType::okCancel |
                                   platform::MessageBoxType::iconExclamation |
                                   platform::MessageBoxType::defaultButton2;

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
    int count = m_nSegments;
    exchange.Signed(ids::segmentCount, count);
    // A count below zero cuts nothing a user could want: it is refused like a count that does
    // not parse, and the kept count stays as it was.
    if (exchange.IsStoring() && count < 0)
        exchange.FailInteger(ids::segmentCount, resources::StringTable::enterPositiveInteger);
    m_nSegments = count;
}

bool CSplitByNumberDlg::HasAmount() const {
    return m_nSegments != 0;
}

// Segments 1 to N - 1 take the length divided by N; the last takes what they leave.
CSplitDlgBase::Cut CSplitByNumberDlg::CutOf(std::uint64_t length) const {
    const auto count = static_cast<std::uint64_t>(m_nSegments);
    return {length, count - 1, length / count};
}

// More segments than bytes leaves all but the last segment empty: a typed count of thousands
// would fill the folder with empty files.
bool CSplitByNumberDlg::MayCut(const Cut& cut) {
    const auto count = static_cast<std::uint64_t>(m_nSegments);
    if (count <= 1 || count <= cut.length)
        return true;
    const std::string question = "The file holds only " + std::to_string(cut.length) +
                                 (cut.length == 1 ? " byte" : " bytes") + ", so " +
                                 std::to_string(count - 1) + " of the " + std::to_string(count) +
                                 " segments would be empty files. Split it anyway?";
    return MessageBox(question, std::string(sundrelCaption), countQuestion) ==
           platform::MessageBoxAnswer::ok;
}
