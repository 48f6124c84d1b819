#include "platform/gui/ChooserStart.h"

#include "platform/gui/QtText.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

ChooserStart ChooserStart::forPath(const std::string& path) {
    const QFileInfo file(QDir::current(), QtText::fromBytes(path));
    if (path.empty() || !file.absoluteDir().exists())
        return {QtText::toBytes(QDir::homePath()), {}};
    // A field that names a folder opens in it, with nothing selected.
    if (file.isDir())
        return {QtText::toBytes(file.absoluteFilePath()), {}};
    return {QtText::toBytes(file.absolutePath()), QtText::toBytes(file.fileName())};
}

} // namespace platform
