#include "common/CDataExchange.h"

#include "common/AfxMessageBox.h"
#include "common/CDialog.h"
#include "common/CIntegerText.h"
#include "common/CUserException.h"
#include "common/CWndControl.h"

#include "platform/gui/MessageBoxType.h"
#include "resources/StringTable.h"

platform::Window CDataExchange::Control(int id) const {
    return m_dialog.GetDlgItem(id);
}

void CDataExchange::FailInteger(int id, unsigned messageId) const {
    AfxMessageBox(messageId, platform::MessageBoxType::ok);
    platform::Window field = Control(id);
    field.setFocus();
    field.selectAllText();
    throw CUserException();
}

void CDataExchange::Text(int id, std::string& value) {
    platform::Window field = Control(id);
    if (m_bSaveAndValidate) {
        value = field.text();
        return;
    }
    field.setText(value);
    // Every text field of the program holds a file's path.
    field.acceptFileDrops();
}

namespace {

// Load writes the kept number; store parses the field and reports a text that is not a number.
template <typename Number, typename Parse, typename Format>
void exchangeInteger(const CDataExchange& exchange, int id, Number& value, Parse parse,
                     Format format, unsigned failureMessage) {
    platform::Window field = exchange.Control(id);
    if (!exchange.IsStoring()) {
        field.setText(format(value));
        return;
    }
    const auto parsed = parse(field.text());
    if (!parsed)
        exchange.FailInteger(id, failureMessage);
    value = *parsed;
}

} // namespace

void CDataExchange::Signed(int id, int& value) {
    exchangeInteger(*this, id, value, CIntegerText::ParseSigned, CIntegerText::FormatSigned,
                    resources::StringTable::enterInteger);
}

void CDataExchange::Unsigned(int id, std::uint64_t& value) {
    exchangeInteger(*this, id, value, CIntegerText::ParseUnsigned, CIntegerText::FormatUnsigned,
                    resources::StringTable::enterPositiveInteger);
}

void CDataExchange::Bind(int id, CWndControl& control) {
    // Bound once per window: later exchanges in the same opening change nothing.
    platform::Window window = Control(id);
    if (control.GetWindow().handle() != window.handle())
        control.Attach(window);
}
