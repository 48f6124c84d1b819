#include "platform/gui/DesktopHelpViewer.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace platform {

bool DesktopHelpViewer::showHelp(const std::string& helpFile, unsigned) {
    const QString path = QString::fromStdString(helpFile);
    if (!QFileInfo(path).isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace platform
