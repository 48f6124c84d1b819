#include "operations/CFloppySplitDlg.h"

#include "common/CBrowse.h"
#include "common/CBusyScope.h"
#include "common/CDataExchange.h"
#include "common/CFile.h"
#include "common/COperationStopped.h"
#include "common/CSegmentName.h"
#include "common/CSetChecksum.h"
#include "common/CStoppableWork.h"
#include "operations/CLeftoverSegments.h"

#include "platform/files/PathParts.h"
#include "platform/gui/DialogCommand.h"
#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/MessageBoxType.h"
#include "platform/gui/Services.h"
#include "platform/gui/TerminationSignals.h"
#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"

#include <algorithm>

namespace {

namespace ids = resources::ControlIds::FloppySplit;
constexpr int clipId = 136;

constexpr int answerOk = platform::MessageBoxAnswer::ok;
constexpr unsigned typeOk =
    platform::MessageBoxType::ok | platform::MessageBoxType::iconInformation;
constexpr unsigned typeOkCancel =
    platform::MessageBoxType::okCancel | platform::MessageBoxType::iconInformation;

constexpr const char* caption = "Sundrel - split to floppies ";
constexpr const char* doneCaption = "Sun Drel - split to floppies";
constexpr const char* noFile = "Please specify a file to be split ";
constexpr const char* cannotOpen = " Error Opening File for reading ";
constexpr const char* insertDisk = "Please Replace/Insert a Floppy Disk in Drive !";
constexpr const char* diskFull = "Floppy has no free space ..Replace it !!";
constexpr const char* noDisk = "Floppy NOT Inserted or not formatted ??";
constexpr const char* allDone = " The file has been split and transferred to floppies ! ";

} // namespace

// Ends a split on every way out, a refusal, a cancelled prompt and a file error included: the
// dialog is collapsed again, the clip stands still and both buttons take clicks, before the success
// message or the dispatcher's report is shown.
class CFloppySplitDlg::RestoreOnExit final {
  public:
    explicit RestoreOnExit(CFloppySplitDlg& dialog) : m_dialog(dialog) {}
    ~RestoreOnExit() {
        m_dialog.Collapse();
        m_dialog.m_animate.Stop();
        m_dialog.EnableButtons(true);
    }
    RestoreOnExit(const RestoreOnExit&) = delete;
    RestoreOnExit& operator=(const RestoreOnExit&) = delete;

  private:
    CFloppySplitDlg& m_dialog;
};

platform::ScreenRect CFloppySplitDlg::s_rcFull;

CFloppySplitDlg::CFloppySplitDlg() : CDialog(resources::DialogTemplates::floppySplit) {}

void CFloppySplitDlg::DoDataExchange(CDataExchange& exchange) {
    exchange.Bind(ids::animation, m_animate);
    exchange.Text(ids::path, m_strPath);
}

bool CFloppySplitDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    s_rcFull = GetSafeHwnd().clientRect();
    Collapse();
    return true;
}

bool CFloppySplitDlg::OnCommand(int id) {
    if (id == ids::browse) {
        CBrowse::Run(*this, ids::path, m_strPath);
        return true;
    }
    if (id == ids::split) {
        OnSplitFile();
        return true;
    }
    return false;
}

void CFloppySplitDlg::OnSplitFile() {
    UpdateData(true); // a plain text field: the store cannot fail
    m_stoppedIn = 0;
    if (SplitToMedia())
        MessageBox(allDone, doneCaption, typeOk);
    else if (m_stoppedIn != 0)
        MessageBox(StoppedMessage(), caption, typeOk);
}

std::string CFloppySplitDlg::StoppedMessage() const {
    const std::string earlier =
        m_stoppedIn == 1 ? std::string("No medium holds a segment of it.")
        : m_stoppedIn == 2
            ? std::string("Segment 1 is on the medium used before.")
            : "Segments 1 to " + std::to_string(m_stoppedIn - 1) + " are on the media used before.";
    return "The split was stopped. The unfinished segment " + std::to_string(m_stoppedIn) +
           " was removed from the medium in the drive. " + earlier;
}

bool CFloppySplitDlg::SplitToMedia() {
    EnableButtons(false);
    const RestoreOnExit restore(*this);

    if (m_strPath.empty()) {
        MessageBox(noFile, caption, typeOk);
        return false;
    }
    CFile source;
    if (!source.Open(m_strPath, CFile::modeRead | CFile::typeBinary)) {
        MessageBox(cannotOpen, caption, typeOk);
        return false;
    }
    const std::string base = "a:" + platform::PathParts::lastPart(m_strPath);

    m_animate.Open(clipId);
    m_animate.GetWindow().show(true);
    m_animate.Play(0, -1, -1);
    Expand();

    const CStoppableWork stoppable(
        *this, "Stop the split? The segment being written will be removed from the medium.",
        std::string(caption));
    const std::uint64_t length = source.GetLength();
    std::uint64_t done = 0;
    long long segments = 0;
    CSetChecksum checksum(base);
    while (done != length) {
        const std::string name = CSegmentName::Make(base, segments + 1);
        m_animate.Stop();
        if (Ask(insertDisk) != answerOk)
            return false;
        std::uint64_t written = 0;
        // The medium whose free space sizes the segment is the medium it is written on.
        platform::DriveA::Look medium;
        for (bool mediumFull = false; written == 0; mediumFull = true) {
            const auto size = NextSegmentSize(length - done, mediumFull, medium);
            if (!size)
                return false;
            try {
                written = WriteSegment(source, name, *size, checksum);
            } catch (const COperationStopped&) {
                CFile::Remove(name);
                m_stoppedIn = segments + 1;
                return false;
            }
        }
        done += written;
        ++segments;
    }
    // Leftovers are asked about while the medium with the last segment is still in the drive.
    if (segments > 0)
        OfferToRemoveLeftovers(base, segments);
    if (!PutChecksum(checksum, segments != 0))
        return false;
    source.Close();
    return true;
}

// On the medium that took the last segment while it is still in the drive and has room, else on
// one more medium, asked for and measured as a segment's is. False when the user cancelled.
bool CFloppySplitDlg::PutChecksum(CSetChecksum& checksum, bool mediumInDrive) {
    platform::DriveA::Look medium;
    if (mediumInDrive) {
        medium.take();
        if (WriteChecksum(checksum))
            return true;
        medium.release();
    }
    m_animate.Stop();
    if (Ask(insertDisk) != answerOk)
        return false;
    for (bool mediumFull = false;; mediumFull = true) {
        if (!NextSegmentSize(1, mediumFull, medium))
            return false;
        if (WriteChecksum(checksum))
            return true;
    }
}

bool CFloppySplitDlg::WriteChecksum(CSetChecksum& checksum) {
    const CBusyScope busy(GetSafeHwnd());
    return checksum.Write();
}

// The split learns how many segments it wrote only at its end: files under the numbers after the
// last one on the medium in the drive would be appended by a join. The split is done whatever
// the answer.
void CFloppySplitDlg::OfferToRemoveLeftovers(const std::string& base, long long segments) {
    if (platform::TerminationSignals::stopForced())
        return;
    const CLeftoverSegments leftovers(base, segments, m_strPath);
    m_animate.Stop();
    if (!leftovers.Empty() &&
        leftovers.Ask(*this, caption, true) == CLeftoverSegments::Answer::remove)
        leftovers.Remove();
}

std::optional<std::uint64_t> CFloppySplitDlg::NextSegmentSize(std::uint64_t bytesLeft,
                                                              bool mediumFull,
                                                              platform::DriveA::Look& medium) {
    for (;;) {
        if (!mediumFull)
            medium.take();
        const auto free = mediumFull ? std::optional<std::uint64_t>(0)
                                     : platform::Services::freeSpace().freeBytesOnDriveA();
        mediumFull = false;
        if (free && *free != 0) {
            m_animate.Play(0, -1, -1);
            return std::min(*free, bytesLeft);
        }
        medium.release(); // the user may now unmount it and change it
        m_animate.Stop();
        if (Ask(free ? diskFull : noDisk) != answerOk)
            return std::nullopt;
    }
}

std::uint64_t CFloppySplitDlg::WriteSegment(CFile& source, const std::string& name,
                                            std::uint64_t size, CSetChecksum& checksum) {
    const CBusyScope busy(GetSafeHwnd());
    // A checksum file on this medium from an earlier split could describe a set it does not match.
    checksum.RemoveEarlier();
    CFile segment;
    CFileException error;
    if (!segment.Open(name, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary, &error)) {
        if (error.m_cause == CFileException::diskFull)
            return 0; // a medium that reports free space can lack the room for a new file (XFS)
        throw error;
    }
    // What the medium reports free is more than one file can take on some file systems (XFS,
    // ext4): the segment gets the room the medium really sets aside for it, so it always fits.
    const std::uint64_t room = segment.Reserve(size);
    if (room == 0) {
        segment.Close();
        CFile::Remove(name); // the medium keeps no empty segment
        return 0;
    }
    checksum.Move(source, segment, room);
    // On Linux a closed file can still sit in memory; it must be on the medium before the user
    // is told to take the medium out.
    segment.Flush();
    segment.Close();
    checksum.EndSegment(name);
    return room;
}

// A signal that stops the work answers every prompt that would come: nobody may be there.
int CFloppySplitDlg::Ask(const char* text) {
    if (platform::TerminationSignals::stopForced())
        return platform::MessageBoxAnswer::cancel;
    return MessageBox(text, caption, typeOkCancel);
}

void CFloppySplitDlg::EnableButtons(bool enable) {
    GetDlgItem(ids::split).enable(enable);
    GetDlgItem(platform::DialogCommand::ok).enable(enable);
}

// Collapsed, the window ends just above the animation strip: its client area is exactly as tall
// as the strip's top edge lies below the client area's top (76 dialog units in the template), so
// the two buttons, which end 68 units down, stay whole with the template's own margin below them
// and the strip is out of view. Dialog units come from this dialog's font, so the cut follows the
// font size and the screen's scale: with an 8-point font at 96 dpi (13-pixel lines) it is 123
// pixels, 148 with a classic 25-pixel caption and frame. The frame and caption are the window
// manager's and are kept as they are.
int CFloppySplitDlg::CollapsedClientHeight() const {
    const platform::DialogTemplate* resource = resources::DialogTemplates::Find(GetTemplateId());
    if (resource == nullptr)
        return s_rcFull.height();
    const auto strip =
        std::find_if(resource->controls.begin(), resource->controls.end(),
                     [](const auto& control) { return control.id == ids::animation; });
    if (strip == resource->controls.end())
        return s_rcFull.height();
    return GetSafeHwnd().mapDialogRect({0, 0, 0, strip->rect.y}).height();
}

void CFloppySplitDlg::Collapse() {
    ResizeClient(s_rcFull.width(), CollapsedClientHeight());
}

void CFloppySplitDlg::Expand() {
    ResizeClient(s_rcFull.width(), s_rcFull.height());
}

// Resizes the window at its current left and top so that its client area has that size, with
// the frame as the window manager draws it now.
void CFloppySplitDlg::ResizeClient(int width, int height) {
    platform::Window window = GetSafeHwnd();
    const platform::ScreenRect outer = window.rect();
    const platform::ScreenRect client = window.clientRect();
    const int frameWidth = outer.width() - client.width();
    const int frameHeight = outer.height() - client.height();
    window.move(
        {outer.left, outer.top, outer.left + width + frameWidth, outer.top + height + frameHeight},
        true);
}
