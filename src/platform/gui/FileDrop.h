#pragma once

#include <QObject>
#include <QString>

#include <optional>

class QLineEdit;
class QMimeData;

namespace platform {

// A path field's drop target. A file dragged from a file manager (a list of URIs, or as newer
// toolkits also offer, plain text with one path per line) replaces the field's whole text with the
// local path of the first file, and its dialog comes to the front. Anything else is refused: a
// file that is not local, text that names no file, and any drop while the dialog is busy or
// behind a modal window of its own.
class FileDrop final : public QObject {
    Q_OBJECT

  public:
    static void install(QLineEdit* field);
    // The local path of the first file the data names; nothing when it names none.
    static std::optional<QString> localPath(const QMimeData& data);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    explicit FileDrop(QObject* parent) : QObject(parent) {}
};

} // namespace platform
