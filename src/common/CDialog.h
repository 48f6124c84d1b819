#pragma once

#include "platform/gui/DialogEvents.h"
#include "platform/gui/Window.h"

#include <optional>
#include <string>

class CDataExchange;

// A modal dialog made from a dialog resource. The object outlives its window: every DoModal makes
// the window afresh, while the values the object keeps stay from one opening to the next.
class CDialog : private platform::DialogEvents {
  public:
    explicit CDialog(int templateId);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog until EndDialog; answers its result, or -1 when it cannot be made.
    int DoModal();
    void EndDialog(int result);
    // Field exchange: store (true) reads and checks every control, load (false) fills them.
    bool UpdateData(bool saveAndValidate = true);

    int GetTemplateId() const { return m_templateId; }
    unsigned GetHelpContext() const { return 0x20000u + unsigned(m_templateId); }
    platform::Window GetSafeHwnd() const { return m_window; }
    platform::Window GetDlgItem(int id) const { return m_window.child(id); }

    // The dialog's own message box: no icon added; the display name when no caption is given.
    int MessageBox(const std::string& text, std::optional<std::string> caption = std::nullopt,
                   unsigned type = 0);

  protected:
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange& exchange);
    // A command from a control; true when the dialog handled it.
    virtual bool OnCommand(int id);
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnSysCommand(unsigned id);

  private:
    bool onInitDialog(platform::Window dialog) override;
    void onCommand(int id) override;
    void onSysCommand(unsigned id) override;
    void onHelpKey() override;
    void centreWindow();
    void dispatch(int id);

    int m_templateId;
    platform::Window m_window;
};
