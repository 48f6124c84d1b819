#include "operations/CSplitDlgBase.h"

#include "common/CBrowse.h"
#include "common/CDataExchange.h"
#include "common/CFile.h"
#include "operations/CSegmentWriter.h"

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
        CBrowse::Run(*this, m_strPath);
        return true;
    case ids::split:
        OnSplitFile();
        return true;
    default:
        return false;
    }
}

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
    {
        CSegmentWriter writer(GetSafeHwnd(), source, m_progress);
        WriteSegments(writer, source);
    }
    Show(m_messages.done);
}

void CSplitDlgBase::Show(const Box& box) {
    MessageBox(box.text, box.caption ? std::optional<std::string>(box.caption) : std::nullopt,
               box.type);
}
