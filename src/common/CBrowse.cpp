#include "common/CBrowse.h"

#include "common/CDialog.h"
#include "common/CFileDialog.h"

#include "platform/gui/DialogCommand.h"

void CBrowse::Run(CDialog& dialog, std::string& keptPath) {
    CFileDialog chooser(dialog, CFileDialog::overwritePrompt | CFileDialog::hideReadOnly);
    // The chooser opens where the path on screen points, typed or dropped since the last store.
    const platform::Window field = dialog.GetSafeHwnd().pathField();
    chooser.SetStartPath(field.exists() ? field.text() : keptPath);
    if (chooser.DoModal() != platform::DialogCommand::ok)
        return;
    keptPath = chooser.GetPathName();
    dialog.UpdateData(false);
}
