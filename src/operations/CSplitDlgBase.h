#pragma once

#include "common/CDialog.h"
#include "common/CProgressCtrl.h"
#include "common/CSpinButtonCtrl.h"

#include <string>

class CFile;
class CSegmentWriter;

// What the two ways of cutting a file next to itself share: the source path with its Browse
// button, the up-down arrows, the progress bar, and "Split File !" (check the fields, open the
// source, write the set, report). A derived dialog brings its count or size field, the arithmetic
// of its cut and its messages.
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
    CSplitDlgBase(int templateId, const Messages& messages);

    void DoDataExchange(CDataExchange& exchange) override;
    bool OnInitDialog() override;
    bool OnCommand(int id) override;

    // The count or size field, exchanged after the path.
    virtual void ExchangeAmount(CDataExchange& exchange) = 0;
    virtual bool HasAmount() const = 0;
    // Readies the progress bar and writes the segments of the open source.
    virtual void WriteSegments(CSegmentWriter& writer, CFile& source) = 0;

  private:
    void OnSplitFile();
    void Show(const Box& box);

    Messages m_messages;
    CProgressCtrl m_progress;
    CSpinButtonCtrl m_arrows;
};
