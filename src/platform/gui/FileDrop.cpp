#include "platform/gui/FileDrop.h"

#include "platform/gui/DialogWindow.h"

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

namespace platform {

namespace {

const QString plainUtf8 = QStringLiteral("text/plain;charset=utf-8");

std::optional<QString> localPathOf(const QUrl& url) {
    if (!url.isLocalFile() || url.toLocalFile().isEmpty())
        return std::nullopt;
    return url.toLocalFile();
}

// Plain text as file managers put it: the first line is a path or a file URI.
std::optional<QString> localPathInText(const QString& text) {
    const QString line = text.section(QLatin1Char('\n'), 0, 0).remove(QLatin1Char('\r'));
    if (line.startsWith(QLatin1Char('/')))
        return line;
    return localPathOf(QUrl(line, QUrl::StrictMode));
}

bool mayDropOn(QLineEdit* field) {
    QWidget* dialog = field->window();
    if (auto* window = dynamic_cast<DialogWindow*>(dialog); window != nullptr && window->isBusy())
        return false;
    const QWidget* modal = QApplication::activeModalWidget();
    return field->isEnabled() && (modal == nullptr || modal == dialog);
}

} // namespace

void FileDrop::install(QLineEdit* field) {
    if (field->findChild<FileDrop*>(QString(), Qt::FindDirectChildrenOnly) != nullptr)
        return;
    field->setAcceptDrops(true);
    field->installEventFilter(new FileDrop(field));
}

std::optional<QString> FileDrop::localPath(const QMimeData& data) {
    // A URI list may carry comment lines; the first URI is the file.
    for (const QUrl& url : data.urls()) {
        if (!url.isEmpty() && !url.toString().startsWith(QLatin1Char('#')))
            return localPathOf(url);
    }
    if (data.hasFormat(plainUtf8))
        return localPathInText(QString::fromUtf8(data.data(plainUtf8)));
    return std::nullopt;
}

bool FileDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* field = qobject_cast<QLineEdit*>(watched);
    auto* drop = static_cast<QDropEvent*>(event);
    const std::optional<QString> path =
        field != nullptr && drop->mimeData() != nullptr && mayDropOn(field)
            ? localPath(*drop->mimeData())
            : std::nullopt;
    // Only the name is taken: a drop that could only move the file would let its source delete it.
    const Qt::DropActions possible = drop->possibleActions();
    if (!path || !(possible & (Qt::CopyAction | Qt::LinkAction))) {
        drop->ignore();
        return true;
    }
    drop->setDropAction((possible & Qt::CopyAction) ? Qt::CopyAction : Qt::LinkAction);
    drop->accept();
    if (type == QEvent::Drop) {
        field->setText(*path);
        QWidget* dialog = field->window();
        dialog->raise();
        dialog->activateWindow();
    }
    return true;
}

} // namespace platform
