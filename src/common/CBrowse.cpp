#include "common/CBrowse.h"

#include "common/CDialog.h"
#include "common/CFileDialog.h"

void CBrowse::Run(CDialog& dialog, std::string& keptPath) {
    CFileDialog chooser(dialog, CFileDialog::overwritePrompt | CFileDialog::hideReadOnly);
    if (chooser.DoModal() != 1)
        return;
    keptPath = chooser.GetPathName();
    dialog.UpdateData(false);
}
