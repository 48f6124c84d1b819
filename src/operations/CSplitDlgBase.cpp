#include "operations/CSplitDlgBase.h"

#include "common/CBrowse.h"
#include "common/CDataExchange.h"
#include "common/CFile.h"
#include "common/COperationStopped.h"
#include "common/CStoppableWork.h"
#include "operations/CLeftoverSegments.h"
#include "operations/CSegmentWriter.h"

#include "platform/gui/DialogCommand.h"
#include "platform/gui/MessageBoxType.h"
#include "resources/ControlIds.h"

#include <optional>

namespace {

namespace ids = resources::ControlIds::Split;

constexpr unsigned readMode = CFile::modeRead | CFile::typeBinary;

} // namespace

CSplitDlgBase::CSplitDlgBase(int templateId, const Messages& messages)
    : CDialog(templateId), m_messages(messages) {}

void CSplitDlgBase::DoDataExchange(CDataExchange& exchange) {
    exchange.Bind(ids::progress, m_progress);
    exchange.Bind(ids::arrows, m_arrows);
    exchange.Text(ids::path, m_strPath);
    ExchangeAmount(exchange);
}

bool CSplitDlgBase::OnInitDialog() {
    CDialog::OnInitDialog();
    m_arrows.SetRange(2, 1000);
    return true;
}

bool CSplitDlgBase::OnCommand(int id) {
    switch (id) {
    case ids::browse:
        CBrowse::Run(*this, ids::path, m_strPath);
        return true;
    case ids::split:
        OnSplitFile();
        return true;
    default:
        return false;
    }
}

// In this order: the fields, the questions, the names the split will make, the removal of what
// the user let go; only then is anything written. Cancel at a question leaves every file as it
// was.
void CSplitDlgBase::OnSplitFile() {
    if (!UpdateData(true))
        return;
    if (m_strPath.empty()) {
        Show(m_messages.noFile);
        return;
    }
    if (!HasAmount()) {
        Show(m_messages.noAmount);
        return;
    }
    // The source stays open, and so held, until the success message has been dismissed.
    CFile source;
    if (!source.Open(m_strPath, readMode)) {
        Show(m_messages.cannotOpen);
        return;
    }
    const Cut cut = CutOf(source.GetLength());
    if (!MayCut(cut))
        return;
    const CLeftoverSegments leftovers(m_strPath, cut.Segments(), m_strPath);
    const auto answer = leftovers.Empty() ? CLeftoverSegments::Answer::keep
                                          : leftovers.Ask(*this, m_messages.noFile.caption, false);
    if (answer == CLeftoverSegments::Answer::cancel)
        return;
    CSegmentWriter::CheckNames(m_strPath, cut.Segments());
    if (answer == CLeftoverSegments::Answer::remove)
        leftovers.Remove();
    const std::optional<long long> removed = WriteSet(source, cut);
    if (!removed) {
        Show(m_messages.done);
        return;
    }
    const std::string stopped = "The split was stopped. " +
                                (*removed == 0   ? std::string("It had written no segment.")
                                 : *removed == 1 ? "The segment it had written was removed."
                                                 : "The " + std::to_string(*removed) +
                                                       " segments it had written were removed.") +
                                " The file itself is as it was.";
    MessageBox(stopped, std::string(m_messages.noFile.caption),
               platform::MessageBoxType::iconInformation);
}

// Writes the set while the dialog looks busy. A stop removes what this run wrote: answers how
// many segments that was, or nothing when the set was written whole.
std::optional<long long> CSplitDlgBase::WriteSet(CFile& source, const Cut& cut) {
    const CStoppableWork stoppable(
        *this, "Stop the split? The segments it has written so far will be removed.",
        std::string(m_messages.noFile.caption));
    CSegmentWriter writer(GetSafeHwnd(), {ids::split, platform::DialogCommand::ok}, source,
                          m_progress);
    try {
        writer.WriteSet(m_strPath, cut.length, cut.fullSegments, cut.segmentLength);
    } catch (const COperationStopped&) {
        return writer.RemoveWritten();
    }
    return std::nullopt;
}

long long CSplitDlgBase::Cut::Segments() const {
    const bool rest = length - fullSegments * segmentLength != 0;
    return static_cast<long long>(fullSegments) + (rest ? 1 : 0);
}

void CSplitDlgBase::Show(const Box& box) {
    MessageBox(box.text, box.caption ? std::optional<std::string>(box.caption) : std::nullopt,
               box.type);
}
