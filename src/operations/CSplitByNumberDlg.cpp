#include "operations/CSplitByNumberDlg.h"

#include "common/CBrowse.h"
#include "common/CDataExchange.h"
#include "common/CFile.h"
#include "operations/CSegmentWriter.h"

#include "resources/DialogTemplates.h"

#include <cstdint>

namespace {

constexpr int browseButton = 1002;
constexpr int splitButton = 1003;
constexpr unsigned information = 0x40;
constexpr unsigned readMode = CFile::modeRead | CFile::typeBinary;

// The messages come with two captions, told apart by the space in the name.
constexpr const char* sundrelCaption = "Sundrel - split by number ";
constexpr const char* sunDrelCaption = "Sun Drel - split by number ";
constexpr const char* noFile = "Please specify a file to be split ";
constexpr const char* noCount = " Please give the number of segments required (non-zero) ";
constexpr const char* cannotOpen = " Error Opening Source File for reading ";
constexpr const char* splitDone = " The file has been split ! ";

} // namespace

CSplitByNumberDlg::CSplitByNumberDlg() : CDialog(resources::DialogTemplates::splitByNumber) {}

void CSplitByNumberDlg::DoDataExchange(CDataExchange& exchange) {
    exchange.Bind(1020, m_progress);
    exchange.Bind(1013, m_arrows);
    exchange.Text(1001, m_strPath);
    exchange.Signed(1004, m_nSegments);
}

bool CSplitByNumberDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_arrows.SetRange(2, 1000);
    return true;
}

bool CSplitByNumberDlg::OnCommand(int id) {
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

// Segments 1 to N - 1 take the length divided by N; the last takes what they leave.
void CSplitByNumberDlg::OnSplitFile() {
    if (!UpdateData(true))
        return;
    if (m_strPath.empty()) {
        MessageBox(noFile, sundrelCaption, information);
        return;
    }
    if (m_nSegments == 0) {
        MessageBox(noCount, sunDrelCaption, information);
        return;
    }
    // The source stays open, and so held, until the success message has been dismissed.
    CFile source;
    if (!source.Open(m_strPath, readMode)) {
        MessageBox(cannotOpen, sundrelCaption, information);
        return;
    }
    {
        CSegmentWriter writer(GetSafeHwnd(), source, m_progress);
        writer.PrepareProgress(m_nSegments);
        const std::uint64_t length = source.GetLength();
        // A negative count, taken as unsigned, is at least 2^31; it writes no full segment, so
        // the whole source becomes segment 1.
        const std::uint64_t segmentLength = length / static_cast<std::uint32_t>(m_nSegments);
        const std::uint64_t fullSegments = m_nSegments > 1 ? std::uint64_t(m_nSegments) - 1 : 0;
        writer.WriteSet(m_strPath, length, fullSegments, segmentLength);
    }
    MessageBox(splitDone, sunDrelCaption, information);
}
