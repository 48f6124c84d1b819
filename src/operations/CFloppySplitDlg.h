#pragma once

#include "common/CAnimateCtrl.h"
#include "common/CDialog.h"

#include "platform/files/DriveA.h"
#include "platform/gui/ScreenRect.h"

#include <cstdint>
#include <optional>
#include <string>

class CFile;
class CSetChecksum;

// Spreads a file over a series of removable media in drive A:, one segment per medium.
class CFloppySplitDlg final : public CDialog {
  public:
    CFloppySplitDlg();

    CAnimateCtrl m_animate;
    std::string m_strPath;

    // The dialog's full size, kept for the whole process and taken again each time the dialog
    // initialises. It is the client area: at initialisation the window has not been shown and
    // has no frame yet, so the frame is added as it is at each resize.
    static platform::ScreenRect s_rcFull;

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& exchange) override;
    bool OnCommand(int id) override;

  private:
    class RestoreOnExit;

    void OnSplitFile();
    // Spreads the file over the media the user puts in; false when it refused the file or the
    // user cancelled. The dialog is restored on every way out.
    bool SplitToMedia();
    // Measures the medium until it has room: the bytes for the next segment, or nothing when the
    // user cancelled (the dialog is then restored). mediumFull: the medium just took nothing, so
    // the user is first told that it has no free space.
    std::optional<std::uint64_t> NextSegmentSize(std::uint64_t bytesLeft, bool mediumFull,
                                                 platform::DriveA::Look& medium);
    // Writes at most size bytes as the segment, as many as the medium takes; returns how many
    // (0: the medium took none, and keeps no segment file).
    std::uint64_t WriteSegment(CFile& source, const std::string& name, std::uint64_t size,
                               CSetChecksum& checksum);
    // Writes the set's checksum file once its last segment is on a medium; false when the user
    // cancelled.
    bool PutChecksum(CSetChecksum& checksum, bool mediumInDrive);
    // On the medium in the drive: false when it has no room for it.
    bool WriteChecksum(CSetChecksum& checksum);
    void OfferToRemoveLeftovers(const std::string& base, long long segments);
    // What a stop left: the media taken out keep their segments.
    std::string StoppedMessage() const;

    int CollapsedClientHeight() const;
    void Collapse();
    void Expand();
    void ResizeClient(int width, int height);
    void EnableButtons(bool enable);
    int Ask(const char* text);

    long long m_stoppedIn = 0; // the segment a stop cut short, 0 when none did
};
