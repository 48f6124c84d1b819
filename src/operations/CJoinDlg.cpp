#include "operations/CJoinDlg.h"

#include "common/CBrowse.h"
#include "common/CBusyScope.h"
#include "common/CByteProgress.h"
#include "common/CDataExchange.h"
#include "common/CFile.h"
#include "common/CFileException.h"
#include "common/COperationStopped.h"
#include "common/CSegmentName.h"
#include "common/CSegmentTransfer.h"
#include "common/CSetChecksum.h"
#include "common/CStoppableWork.h"
#include "common/CUtf8Text.h"
#include "operations/CJoinOutput.h"

#include "platform/files/FileNames.h"
#include "platform/files/Folder.h"
#include "platform/files/OpenFiles.h"
#include "platform/gui/DialogCommand.h"
#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/MessageBoxType.h"
#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"

#include <atomic>
#include <future>
#include <memory>
#include <optional>
#include <system_error>

namespace {

namespace ids = resources::ControlIds::Join;
constexpr unsigned plainBox = platform::MessageBoxType::ok;
constexpr unsigned okCancelWithExclamation =
    platform::MessageBoxType::okCancel | platform::MessageBoxType::iconExclamation;
constexpr unsigned readMode = CFile::modeRead | CFile::typeBinary;
constexpr unsigned createMode = CFile::modeCreate | CFile::modeWrite | CFile::typeBinary;

constexpr const char* askForName = "Please enter the name of the first split segment ";
constexpr const char* targetRefused = "Error opening target for writing ! ";
constexpr const char* firstSegmentMissing = "Segment File Missing !";
constexpr const char* fileJoined = "File Joined ";
constexpr unsigned warning =
    platform::MessageBoxType::ok | platform::MessageBoxType::iconExclamation;

std::string unreadableChecksum(const std::string& base) {
    return CSetChecksum::FileName(base) +
           " is damaged: it is not a list of checksums. Nothing was joined.";
}

std::string damagedSet(const std::vector<std::string>& segments, const std::string& base,
                       const std::string& savedAs) {
    std::string names;
    for (std::size_t k = 0; k < segments.size(); ++k)
        names += (k == 0 ? "" : k + 1 < segments.size() ? ", " : " and ") + segments[k];
    const std::string found = names + (segments.size() == 1 ? " is" : " are") +
                              " damaged or cut short: the checksum file " +
                              CSetChecksum::FileName(base) + " gives other bytes. ";
    // Joined into the target itself, the bytes are not kept.
    if (savedAs.empty())
        return found + base + ", which the join wrote into, was emptied.";
    return found + "The joined bytes were saved as " + savedAs + ", not as " + base + ".";
}

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
// segment is the file being rebuilt, under another name: the target's, or that of the file
// written (when there is one yet). Any other failure to open it ends the join with the
// file-error report naming the segment. The set's folder, when given, was looked at once for all
// its segments.
SegmentOpen openSegment(CFile& segment, const std::string& base, long long number,
                        CFileException& error, const std::string& written = {},
                        const platform::Folder* folder = nullptr) {
    const std::string name = CSegmentName::Make(base, number);
    if (segment.Open(name, readMode, &error, folder))
        return SegmentOpen::opened;
    if (isMissing(error, name))
        return SegmentOpen::missing;
    if (platform::FileNames::sameFile(name, base) ||
        (!written.empty() && platform::FileNames::sameFile(name, written)))
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

// The bytes of segments first to last, and whether the set ended before last: at the first number
// under which no file stands. The measuring stops early once giveUp is set.
struct Lengths {
    std::uint64_t bytes = 0;
    bool ended = false;
};
Lengths lengthsOf(const std::string& base, long long first, long long last,
                  const std::atomic<bool>* giveUp = nullptr) {
    Lengths found;
    for (long long number = first; number <= last && !(giveUp && giveUp->load()); ++number) {
        const std::optional<std::uint64_t> length =
            platform::FileNames::lengthOf(CSegmentName::Make(base, number));
        if (!length) {
            found.ended = true;
            return found;
        }
        found.bytes += *length;
    }
    return found;
}

CByteProgress::Measuring ready(std::uint64_t total) {
    std::promise<std::uint64_t> known;
    known.set_value(total);
    return {known.get_future(), nullptr};
}

// What the bar counts for a join onto a new file: the bytes of its set. A few segments are looked
// at here; a set of more is measured on a thread of its own beside the join, so that a hundred
// thousand looks cost it no time. Names on drive A: are the drive's to resolve, on this thread.
constexpr long long measuredAtOnce = 64;

CByteProgress::Measuring measureSet(const std::string& base) {
    const Lengths first = lengthsOf(base, 1, measuredAtOnce);
    if (first.ended)
        return ready(first.bytes);
    const auto giveUp = std::make_shared<std::atomic<bool>>(false);
    const auto rest = [base, head = first.bytes, giveUp] {
        return head + lengthsOf(base, measuredAtOnce + 1, LLONG_MAX, giveUp.get()).bytes;
    };
    if (!platform::FileNames::onDriveA(base)) {
        try {
            return {std::async(std::launch::async, rest), giveUp};
        } catch (const std::system_error&) {
            // No thread to spare: measured here.
        }
    }
    return ready(rest());
}

std::string stoppedText(const std::string& target, bool inPlace) {
    if (inPlace)
        return "The join was stopped. " + target +
               ", which it had not finished, was removed. The segments are as they were.";
    return "The join was stopped. Nothing was written under " + target +
           ", and the segments are as they were.";
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

    const CSetChecksum::Listing listing = CSetChecksum::Read(target);
    if (listing.state == CSetChecksum::Listing::damaged) {
        MessageBox(unreadableChecksum(target), std::nullopt, plainBox);
        return;
    }
    if (listing.state == CSetChecksum::Listing::listed) {
        JoinListed(target, listing.digests);
        return;
    }

    // Segment 1 is opened before the target is made, so that a join that finds no set leaves an
    // existing file of the target's name as it was.
    CFile segment;
    CFileException missing;
    const SegmentOpen first = openSegment(segment, target, 1, missing);
    if (first == SegmentOpen::missing) {
        ReportFirstSegmentMissing();
        return;
    }
    if (first == SegmentOpen::target) {
        MessageBox(targetRefused, std::nullopt, plainBox);
        return;
    }
    if (!MayReplace(target))
        return;
    // A segment may be the target under another name (a hard or a symbolic link): no file of the
    // set may be emptied as the target. Only a name that stands already can be one; a target made
    // new is none, and is made only while its name is still free.
    platform::OpenFiles::Reservation set;
    const bool replacing = platform::FileNames::nameExists(target);
    long long gap = 1;
    while (replacing && set.add(CSegmentName::Make(target, gap)))
        ++gap;
    // What the segments hold, over a file that stands under the target's name already.
    const std::uint64_t reserved = set.bytes();
    // Segments a few numbers past a gap are not joined, but they are reported, and must not be
    // emptied as the target either.
    for (long long number = gap + 1; replacing && number <= gap + lookedAhead; ++number)
        set.add(CSegmentName::Make(target, number));
    CJoinOutput output;
    if (!OpenOutput(output, target, reserved, replacing))
        return;
    SetEnd end{};
    bool stopped = false, lostOne = false;
    {
        const CStoppableWork stoppable(
            *this, "Stop the join? The file it is rebuilding will be removed.", std::nullopt);
        const CBusyScope busy(GetSafeHwnd(), {ids::join, platform::DialogCommand::ok});
        CByteProgress progress(m_progress, replacing ? ready(reserved) : measureSet(target));
        try {
            end = AppendSegments(segment, output.File(), target, missing);
        } catch (const COperationStopped&) {
            stopped = true;
        } catch (CFileException& error) {
            output.Fail(error);
            throw;
        }
        segment.Close();
        if (stopped) {
            // What was joined so far is no file the user had: it goes, the segments stay.
            output.Discard();
        } else if (end.atTarget) {
            // Written into, the target is a segment now: it stays as the join left it.
            if (output.InPlace())
                output.Close();
            else
                output.Discard();
        } else {
            // A set that lost a segment on the way is not the file that was split: written aside,
            // it gets no name a join trusts.
            lostOne = segmentsFollow(target, end.number);
            if (lostOne && !output.InPlace())
                output.Discard();
            else
                output.Commit();
            progress.Fill();
        }
    }
    if (stopped) {
        MessageBox(stoppedText(target, output.InPlace()), std::nullopt, plainBox);
        return;
    }
    if (end.atTarget) {
        MessageBox(targetRefused, std::nullopt, plainBox);
        return;
    }
    if (lostOne)
        throw missing;
    MessageBox(fileJoined, std::nullopt, plainBox);
}

bool CJoinDlg::OpenOutput(CJoinOutput& output, const std::string& target, std::uint64_t needed,
                          bool replacing) {
    const CJoinOutput::Opened opened = output.Open(*this, target, needed, replacing);
    if (opened == CJoinOutput::Opened::refused)
        MessageBox(targetRefused, std::nullopt, plainBox);
    return opened == CJoinOutput::Opened::yes;
}

// Given segment 10 or above (x12), the target (x1) is the name of another segment, which
// creating the target would destroy.
bool CJoinDlg::MayReplace(const std::string& target) {
    if (!endsInTwoDigits(m_strFirstSegment) || !exists(target))
        return true;
    return MessageBox(target + " already exists and may be a segment itself. Replace it?",
                      std::nullopt, okCancelWithExclamation) == platform::MessageBoxAnswer::ok;
}

// The bar empties behind the message and fills once it is answered.
void CJoinDlg::ReportFirstSegmentMissing() {
    CByteProgress progress(m_progress, 0);
    MessageBox(firstSegmentMissing, std::nullopt, plainBox);
    progress.Fill();
}

CJoinDlg::SetEnd CJoinDlg::AppendSegments(CFile& segment, CFile& target, const std::string& base,
                                          CFileException& missing, platform::ChunkHasher* hasher,
                                          long long last) {
    long long number = 1;
    SegmentOpen next;
    const platform::Folder folder(base);
    CSegmentTransfer::StartRepaintClock();
    do {
        if (hasher != nullptr) {
            // Segments take turns at the two digests, so that two are hashed side by side.
            const std::uint64_t length = segment.GetLength();
            const int digest = static_cast<int>((number - 1) % 2);
            CSegmentTransfer::Hash(*hasher, segment, length, digest);
            hasher->end(digest);
            CSegmentTransfer::Move(segment, target, length);
        } else {
            CSegmentTransfer::Move(segment, target, segment.GetLength());
        }
        segment.Close();
        CSegmentTransfer::RepaintNowAndThen();
        ++number;
        if (number > last)
            return {number, false};
        next = openSegment(segment, base, number, missing, target.GetFilePath(), &folder);
    } while (next == SegmentOpen::opened);
    return {number, next == SegmentOpen::target};
}

// A set with a checksum file is the segments it lists. Each is hashed as it is copied, and the
// joined file takes the target's name only when every segment matches, so no damaged bytes ever
// stand under it.
void CJoinDlg::JoinListed(const std::string& target, const std::vector<std::string>& digests) {
    const auto count = static_cast<long long>(digests.size());
    if (!ListedSegmentsThere(target, count))
        return;
    CFile segment;
    CFileException missing;
    if (count > 0 && openSegment(segment, target, 1, missing) != SegmentOpen::opened) {
        MessageBox(targetRefused, std::nullopt, plainBox);
        return;
    }
    if (!MayReplace(target))
        return;
    platform::OpenFiles::Reservation set;
    for (long long number = 1; number <= count; ++number)
        set.add(CSegmentName::Make(target, number));
    const std::uint64_t joined = set.bytes();
    CJoinOutput output;
    if (!OpenOutput(output, target, joined, platform::FileNames::nameExists(target)))
        return;
    Checked checked;
    try {
        checked = CopyListed(segment, output, target, digests, missing, joined);
    } catch (const COperationStopped&) {
        MessageBox(stoppedText(target, output.InPlace()), std::nullopt, plainBox);
        return;
    } catch (CFileException& error) {
        output.Fail(error); // the report of what went wrong is what counts
        throw;
    }
    if (checked.aliased) {
        if (output.InPlace())
            output.Close();
        else
            output.Discard();
        MessageBox(targetRefused, std::nullopt, plainBox);
    } else if (!checked.damaged.empty()) {
        const std::string savedAs = output.SetAside();
        MessageBox(damagedSet(checked.damaged, target, savedAs), std::nullopt, warning);
    } else {
        output.Commit();
        MessageBox(fileJoined, std::nullopt, plainBox);
    }
}

// Segment 1 missing is what a join without a checksum file says too; nothing is made.
bool CJoinDlg::ListedSegmentsThere(const std::string& target, long long count) {
    for (long long number = 1; number <= count; ++number) {
        const std::string name = CSegmentName::Make(target, number);
        if (platform::FileNames::nameExists(name))
            continue;
        if (number > 1)
            throw CFileException(CFileException::fileNotFound, -1, name);
        ReportFirstSegmentMissing();
        return false;
    }
    return true;
}

CJoinDlg::Checked CJoinDlg::CopyListed(CFile& segment, CJoinOutput& output,
                                       const std::string& target,
                                       const std::vector<std::string>& digests,
                                       CFileException& missing, std::uint64_t joined) {
    const auto count = static_cast<long long>(digests.size());
    const CStoppableWork stoppable(
        *this, "Stop the join? The file it is rebuilding will be removed.", std::nullopt);
    const CBusyScope busy(GetSafeHwnd(), {ids::join, platform::DialogCommand::ok});
    CByteProgress progress(m_progress, joined);
    platform::ChunkHasher hasher(2);
    SetEnd end{1, false};
    try {
        if (count > 0)
            end = AppendSegments(segment, output.File(), target, missing, &hasher, count);
    } catch (const COperationStopped&) {
        // A signal ends the program as this function's guard goes: the new file goes first.
        segment.Close();
        output.Discard();
        throw;
    }
    Checked checked;
    checked.aliased = end.atTarget;
    if (end.number <= count && !checked.aliased)
        throw missing; // gone since it was looked for
    const std::vector<std::string>* found[] = {&hasher.results(0), &hasher.results(1)};
    for (long long number = 1; number <= count && !checked.aliased; ++number) {
        const auto turn = std::size_t(number - 1);
        if (found[turn % 2]->at(turn / 2) != digests[turn])
            checked.damaged.push_back(CSegmentName::Make(target, number));
    }
    // The file stays open, and so locked, until it has its name (CJoinOutput::Commit, SetAside).
    if (!checked.aliased)
        progress.Fill();
    return checked;
}
