#include "operations/CSplitBySizeDlg.h"

#include "common/CBrowse.h"
#include "common/CDataExchange.h"
#include "common/CFile.h"
#include "operations/CSegmentWriter.h"

#include "resources/DialogTemplates.h"

#include <cstdint>
#include <optional>

namespace {

constexpr int browseButton = 1002;
constexpr int splitButton = 1003;
constexpr unsigned plainBox = 0;
constexpr unsigned information = 0x40;
constexpr unsigned readMode = CFile::modeRead | CFile::typeBinary;

// Three captions: with and without the space in the name, and with a trailing blank.
constexpr const char* noFile = "Please specify a file to be split ";
constexpr const char* noFileCaption = "Sundrel - split by size";
constexpr const char* noSize = " Please give the size of segments required (non-zero) ";
constexpr const char* noSizeCaption = "Sun Drel - split by size";
constexpr const char* cannotOpen = " Error Opening File for reading ";
constexpr const char* splitDone = " The file has been split ! ";
constexpr const char* splitDoneCaption = "Sun Drel - split by size ";

} // namespace

CSplitBySizeDlg::CSplitBySizeDlg() : CDialog(resources::DialogTemplates::splitBySize) {}

void CSplitBySizeDlg::DoDataExchange(CDataExchange& exchange) {
    exchange.Bind(1020, m_progress);
    exchange.Bind(1013, m_arrows);
    exchange.Text(1001, m_strPath);
    exchange.Unsigned(1005, m_nSize);
}

bool CSplitBySizeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_arrows.SetRange(2, 1000);
    return true;
}

bool CSplitBySizeDlg::OnCommand(int id) {
    switch (id) {
    case browseButton:
        CBrowse::Run(*this, m_strPath);
        return true;
    case splitButton:
        OnSplitFile();
        return true;
    default:
        return false;
    }
}

// Every segment but the last holds the given size; the last also takes the remainder, so none is
// shorter than the size. A source shorter than the size becomes one segment, an empty one none.
void CSplitBySizeDlg::OnSplitFile() {
    if (!UpdateData(true))
        return;
    if (m_strPath.empty()) {
        MessageBox(noFile, noFileCaption, information);
        return;
    }
    if (m_nSize == 0) {
        MessageBox(noSize, noSizeCaption, information);
        return;
    }
    // The source stays open, and so held, until the success message has been dismissed.
    CFile source;
    if (!source.Open(m_strPath, readMode)) {
        MessageBox(cannotOpen, std::nullopt, plainBox);
        return;
    }
    {
        CSegmentWriter writer(GetSafeHwnd(), source, m_progress);
        const std::uint64_t length = source.GetLength();
        const std::uint64_t segments = length / m_nSize;
        writer.PrepareProgress(static_cast<long long>(segments));
        const std::uint64_t fullSegments = segments > 0 ? segments - 1 : 0;
        writer.WriteSet(m_strPath, length, fullSegments, m_nSize);
    }
    MessageBox(splitDone, splitDoneCaption, information);
}
