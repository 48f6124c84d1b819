#pragma once

#include "common/CDialog.h"
#include "common/CProgressCtrl.h"
#include "common/CSpinButtonCtrl.h"

#include <cstdint>
#include <optional>
#include <string>

class CFile;

// What the two ways of cutting a file next to itself share: the source path with its Browse
// button, the up-down arrows, the progress bar, and "Split File !" (check the fields, open the
// source, ask about what the split would leave wrong, write the set, report). A derived dialog
// brings its count or size field, the arithmetic of its cut and its messages.
class CSplitDlgBase : public CDialog {
  public:
    // One message box: its text, its caption (nullptr for the display name) and its type.
    struct Box {
        const char* text;
        const char* caption;
        unsigned type;
    };
    struct Messages {
        Box noFile;
        Box noAmount; // the count or size is zero
        Box cannotOpen;
        Box done;
    };

    std::string m_strPath;

  protected:
    // How a source of a given length is cut: fullSegments of segmentLength bytes, then the rest
    // (when anything is left) as one more segment.
    struct Cut {
        std::uint64_t length;
        std::uint64_t fullSegments;
        std::uint64_t segmentLength;
        // How many segment files the cut writes.
        long long Segments() const;
    };

    CSplitDlgBase(int templateId, const Messages& messages);

    void DoDataExchange(CDataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id) override;

    // The count or size field, exchanged after the path.
    virtual void ExchangeAmount(CDataExchange& exchange) = 0;
    virtual bool HasAmount() const = 0;
    virtual Cut CutOf(std::uint64_t length) const = 0;
    // Whether the user wants a cut that has something odd about it; the split writes nothing
    // otherwise.
    virtual bool MayCut(const Cut&) { return true; }

  private:
    void OnSplitFile();
    std::optional<long long> WriteSet(CFile& source, const Cut& cut);
    void Show(const Box& box);

    Messages m_messages;
    CProgressCtrl m_progress;
    CSpinButtonCtrl m_arrows;
};
