#pragma once

#include <string>

// The application message box: owned by the dialog now running, captioned with the display
// name, with the exclamation icon added when the type names none.
int AfxMessageBox(const std::string& text, unsigned type);
int AfxMessageBox(unsigned stringId, unsigned type);
