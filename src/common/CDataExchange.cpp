#include "common/CDataExchange.h"

#include "common/AfxMessageBox.h"
#include "common/CDialog.h"
#include "common/CIntegerText.h"
#include "common/CUserException.h"
#include "common/CWndControl.h"

#include "resources/StringTable.h"

platform::Window CDataExchange::Control(int id) const {
    return m_dialog.GetDlgItem(id);
}

void CDataExchange::FailInteger(int id, unsigned messageId) const {
    AfxMessageBox(messageId, 0);
    platform::Window field = Control(id);
    field.setFocus();
    field.selectAllText();
    throw CUserException();
}

void CDataExchange::Text(int id, std::string& value) {
    platform::Window field = Control(id);
    if (m_bSaveAndValidate)
        value = field.text();
    else
        field.setText(value);
}

void CDataExchange::Signed(int id, int& value) {
    platform::Window field = Control(id);
    if (!m_bSaveAndValidate) {
        field.setText(CIntegerText::FormatSigned(value));
        return;
    }
    const auto parsed = CIntegerText::ParseSigned(field.text());
    if (!parsed)
        FailInteger(id, resources::StringTable::enterInteger);
    value = *parsed;
}

void CDataExchange::Unsigned(int id, unsigned& value) {
    platform::Window field = Control(id);
    if (!m_bSaveAndValidate) {
        field.setText(CIntegerText::FormatUnsigned(value));
        return;
    }
    const auto parsed = CIntegerText::ParseUnsigned(field.text());
    if (!parsed)
        FailInteger(id, resources::StringTable::enterPositiveInteger);
    value = *parsed;
}

void CDataExchange::Bind(int id, CWndControl& control) {
    // Bound once per window: later exchanges in the same opening change nothing.
    platform::Window window = Control(id);
    if (control.GetWindow().handle() != window.handle())
        control.Attach(window);
}
