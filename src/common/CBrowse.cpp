#include "common/CBrowse.h"

#include "common/CDialog.h"
#include "common/CFileDialog.h"

#include "platform/gui/DialogCommand.h"

void CBrowse::Run(CDialog& dialog, int pathFieldId, std::string& keptPath) {
    CFileDialog chooser(dialog, CFileDialog::overwritePrompt | CFileDialog::hideReadOnly);
    // The chooser opens where the path on screen points, typed or dropped since the last store.
    chooser.SetStartPath(dialog.GetDlgItem(pathFieldId).text());
    if (chooser.DoModal() != platform::DialogCommand::ok)
        return;
    keptPath = chooser.GetPathName();
    dialog.GetDlgItem(pathFieldId).setText(keptPath);
}
