#include "operations/CJoinDlg.h"

#include "common/CBrowse.h"
#include "common/CBusyScope.h"
#include "common/CDataExchange.h"
#include "common/CFile.h"
#include "common/CFileException.h"
#include "common/COperationStopped.h"
#include "common/CSegmentName.h"
#include "common/CSegmentTransfer.h"
#include "common/CStoppableWork.h"
#include "common/CUtf8Text.h"

#include "platform/files/FileNames.h"
#include "platform/files/OpenFiles.h"
#include "platform/gui/DialogCommand.h"
#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/MessageBoxType.h"
#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"

#include <optional>

namespace {

namespace ids = resources::ControlIds::Join;
constexpr int fullBar = 50;
// The bar keeps two steps in hand: segments after the 48th leave it where it is.
constexpr long long lastSteppedSegment = 48;
constexpr unsigned plainBox = platform::MessageBoxType::ok;
constexpr unsigned okCancelWithExclamation =
    platform::MessageBoxType::okCancel | platform::MessageBoxType::iconExclamation;
constexpr unsigned readMode = CFile::modeRead | CFile::typeBinary;
constexpr unsigned createMode = CFile::modeCreate | CFile::modeWrite | CFile::typeBinary;

constexpr const char* askForName = "Please enter the name of the first split segment ";
constexpr const char* targetRefused = "Error opening target for writing ! ";
constexpr const char* firstSegmentMissing = "Segment File Missing !";
constexpr const char* fileJoined = "File Joined ";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool endsInTwoDigits(const std::string& name) {
    return name.size() >= 2 && isDigit(name[name.size() - 1]) && isDigit(name[name.size() - 2]);
}

// Only a name under which nothing stands ends a set. A file that is there but cannot be read
// (held by another program, no permission, a failing device, a link that loops or leads to a
// medium that is gone) is a fault of its own.
bool isMissing(const CFileException& error, const std::string& name) {
    return (error.m_cause == CFileException::fileNotFound ||
            error.m_cause == CFileException::badPath) &&
           !platform::FileNames::nameExists(name);
}

enum class SegmentOpen { opened, missing, target };

// Missing when nothing stands under the segment's name (error then says so); target when the
// segment is the file being rebuilt, under another name. Any other failure to open it ends the
// join with the file-error report naming the segment.
SegmentOpen openSegment(CFile& segment, const std::string& base, long long number,
                        CFileException& error) {
    const std::string name = CSegmentName::Make(base, number);
    if (segment.Open(name, readMode, &error))
        return SegmentOpen::opened;
    if (isMissing(error, name))
        return SegmentOpen::missing;
    if (platform::FileNames::sameFile(name, base))
        return SegmentOpen::target;
    throw error;
}

// A set that ends at a missing number while a segment stands a few numbers further on has lost
// one: what came before the gap is not the file that was split.
constexpr long long lookedAhead = 8;

bool segmentsFollow(const std::string& base, long long missing) {
    for (long long number = missing + 1; number <= missing + lookedAhead; ++number) {
        if (platform::FileNames::isRegularFile(CSegmentName::Make(base, number)))
            return true;
    }
    return false;
}

bool exists(const std::string& name) {
    CFile probe;
    CFileException error;
    return probe.Open(name, readMode, &error) || !isMissing(error, name);
}

} // namespace

CJoinDlg::CJoinDlg() : CDialog(resources::DialogTemplates::join) {}

void CJoinDlg::DoDataExchange(CDataExchange& exchange) {
    exchange.Bind(ids::progress, m_progress);
    exchange.Text(ids::firstSegment, m_strFirstSegment);
}

bool CJoinDlg::OnCommand(int id) {
    switch (id) {
    case ids::browse:
        CBrowse::Run(*this, ids::firstSegment, m_strFirstSegment);
        return true;
    case ids::join:
        OnJoin();
        return true;
    default:
        return false;
    }
}

void CJoinDlg::OnJoin() {
    if (!UpdateData(true))
        return;
    const std::string target = CUtf8Text::WithoutLastCharacter(m_strFirstSegment);
    if (target.empty()) {
        MessageBox(askForName, std::nullopt, plainBox);
        return;
    }

    // Segment 1 is opened before the target is made, so that a join that finds no set leaves an
    // existing file of the target's name as it was.
    CFile segment;
    CFileException missing;
    const SegmentOpen first = openSegment(segment, target, 1, missing);
    if (first == SegmentOpen::missing) {
        ResetProgress();
        MessageBox(firstSegmentMissing, std::nullopt, plainBox);
        m_progress.SetPos(fullBar);
        return;
    }
    if (first == SegmentOpen::target) {
        MessageBox(targetRefused, std::nullopt, plainBox);
        return;
    }
    if (!MayReplace(target))
        return;
    // A segment may be the target under another name (a hard or a symbolic link): no file of the
    // set may be emptied as the target.
    platform::OpenFiles::Reservation set;
    long long gap = 1;
    while (set.add(CSegmentName::Make(target, gap)))
        ++gap;
    // Segments a few numbers past a gap are not joined, but they are reported, and must not be
    // emptied as the target either.
    for (long long number = gap + 1; number <= gap + lookedAhead; ++number)
        set.add(CSegmentName::Make(target, number));
    CFile output;
    if (!output.Open(target, createMode)) {
        MessageBox(targetRefused, std::nullopt, plainBox);
        return;
    }
    SetEnd end{};
    bool stopped = false;
    {
        const CStoppableWork stoppable(
            *this, "Stop the join? The file it is rebuilding will be removed.", std::nullopt);
        const CBusyScope busy(GetSafeHwnd(), {ids::join, platform::DialogCommand::ok});
        ResetProgress();
        try {
            end = AppendSegments(segment, output, target, missing);
        } catch (const COperationStopped&) {
            stopped = true;
        }
        if (stopped) {
            // What was joined so far is no file the user had: it goes, the segments stay.
            segment.Close();
            output.Close();
            CFile::Remove(target);
        } else {
            // On a removable medium what was joined is on it before the user is told anything
            // more.
            if (output.IsOnRemovableMedium())
                output.Flush();
            output.Close();
            if (!end.atTarget)
                m_progress.SetPos(fullBar);
        }
    }
    if (stopped) {
        MessageBox("The join was stopped. " + target +
                       ", which it had not finished, was removed. The segments are as they were.",
                   std::nullopt, plainBox);
        return;
    }
    if (end.atTarget) {
        MessageBox(targetRefused, std::nullopt, plainBox);
        return;
    }
    if (segmentsFollow(target, end.number))
        throw missing;
    MessageBox(fileJoined, std::nullopt, plainBox);
}

// Given segment 10 or above (x12), the target (x1) is the name of another segment, which
// creating the target would destroy.
bool CJoinDlg::MayReplace(const std::string& target) {
    if (!endsInTwoDigits(m_strFirstSegment) || !exists(target))
        return true;
    return MessageBox(target + " already exists and may be a segment itself. Replace it?",
                      std::nullopt, okCancelWithExclamation) == platform::MessageBoxAnswer::ok;
}

void CJoinDlg::ResetProgress() {
    m_progress.SetRange32(0, 0); // empties a bar left full by an earlier join
    m_progress.SetRange32(0, fullBar);
    m_progress.SetStep(1);
}

CJoinDlg::SetEnd CJoinDlg::AppendSegments(CFile& segment, CFile& target, const std::string& base,
                                          CFileException& missing) {
    long long number = 1;
    SegmentOpen next;
    CSegmentTransfer::StartRepaintClock();
    do {
        CSegmentTransfer::Move(segment, target, segment.GetLength());
        segment.Close();
        if (number <= lastSteppedSegment)
            m_progress.StepIt();
        CSegmentTransfer::RepaintNowAndThen();
        ++number;
        next = openSegment(segment, base, number, missing);
    } while (next == SegmentOpen::opened);
    return {number, next == SegmentOpen::target};
}
