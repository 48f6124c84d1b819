#pragma once

#include "platform/gui/Window.h"

#include <cstdint>
#include <string>

class CDialog;
class CWndControl;

// One pass of field exchange between a dialog's controls and the values its object keeps.
// Store (save and validate) reads the controls; load writes them.
class CDataExchange final {
  public:
    CDataExchange(CDialog& dialog, bool saveAndValidate)
        : m_dialog(dialog), m_bSaveAndValidate(saveAndValidate) {}

    bool IsStoring() const { return m_bSaveAndValidate; }
    platform::Window Control(int id) const;
    // Reports a field that does not parse and ends the exchange (throws CUserException).
    [[noreturn]] void FailInteger(int id, unsigned messageId) const;

    void Text(int id, std::string& value);
    void Signed(int id, int& value);
    void Unsigned(int id, std::uint64_t& value);
    void Bind(int id, CWndControl& control);

  private:
    CDialog& m_dialog;
    bool m_bSaveAndValidate;
};
