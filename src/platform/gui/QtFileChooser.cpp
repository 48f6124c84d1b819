#include "platform/gui/QtFileChooser.h"

#include "platform/gui/WindowRegistry.h"

#include <QFileDialog>
#include <QFileInfo>

namespace platform {

FileChooserAnswer QtFileChooser::chooseFileToOpen(const FileChooserRequest& request) {
    QFileDialog dialog(WindowRegistry::widget(request.owner.handle()));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // No existence check: a name typed into the dialog is taken as it is.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.title.empty())
        dialog.setWindowTitle(QString::fromStdString(request.title));
    if (!request.initialDirectory.empty())
        dialog.setDirectory(QString::fromStdString(request.initialDirectory));
    if (!request.initialName.empty())
        dialog.selectFile(QString::fromStdString(request.initialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {1, QFileInfo(dialog.selectedFiles().front()).absoluteFilePath().toStdString()};
}

} // namespace platform
