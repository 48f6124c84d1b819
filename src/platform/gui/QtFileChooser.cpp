#include "platform/gui/QtFileChooser.h"

#include "platform/gui/ChooserStart.h"
#include "platform/gui/QtText.h"
#include "platform/gui/WindowRegistry.h"

#include <QFileDialog>
#include <QFileInfo>

namespace platform {

namespace {

// Qt takes the desktop portal's chooser when it is asked for, or inside a sandbox.
bool portalChooserInUse() {
    const QString theme = qEnvironmentVariable("QT_QPA_PLATFORMTHEME").toLower();
    for (const char* name : {"xdgdesktopportal", "flatpak", "snap"}) {
        if (theme.contains(QLatin1String(name)))
            return true;
    }
    return QFileInfo::exists(QStringLiteral("/.flatpak-info")) || qEnvironmentVariableIsSet("SNAP");
}

} // namespace

FileChooserAnswer QtFileChooser::chooseFileToOpen(const FileChooserRequest& request) {
    QFileDialog dialog(WindowRegistry::widget(request.owner.handle()));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // No existence check: a name typed into the dialog is taken as it is.
    dialog.setFileMode(QFileDialog::AnyFile);
    // Qt's own dialog titles itself "Open"; a desktop's chooser is told so, or it has no title.
    dialog.setWindowTitle(request.title.empty() ? QFileDialog::tr("Open")
                                                : QString::fromStdString(request.title));
    // The portal's chooser ignores the starting folder of an Open dialog: Qt's own dialog honours
    // it.
    if (portalChooserInUse())
        dialog.setOption(QFileDialog::DontUseNativeDialog);
    const ChooserStart start = ChooserStart::forPath(request.startPath);
    dialog.setDirectory(QtText::fromBytes(start.directory));
    if (!start.name.empty())
        dialog.selectFile(QtText::fromBytes(start.name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {1, QFileInfo(dialog.selectedFiles().front()).absoluteFilePath().toStdString()};
}

} // namespace platform
