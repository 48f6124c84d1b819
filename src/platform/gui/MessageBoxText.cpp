#include "platform/gui/MessageBoxText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>

namespace platform {

namespace {

const QChar breakHere(0x200B);

QString breakableAnywhereInLongWords(const QString& text) {
    constexpr qsizetype longWord = 24;
    QString shown;
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > longWord && !c.isLowSurrogate() && !c.isMark())
            shown += breakHere;
        shown += c;
    }
    return shown;
}

} // namespace

void MessageBoxText::apply(QMessageBox& box, const QString& text) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    const QString shown = breakableAnywhereInLongWords(text);
    if (label == nullptr || shown.size() == text.size())
        return;
    label->setText(shown);
    label->setAccessibleName(text);
    // Text selected in the box and copied carries the break opportunities: the clipboard gets it
    // without them.
    auto* owner = new MessageBoxText(&box);
    QClipboard* clipboard = QGuiApplication::clipboard();
    connect(clipboard, &QClipboard::dataChanged, owner, [clipboard, shown] {
        QString copied = clipboard->text();
        if (copied.contains(breakHere) && shown.contains(copied))
            clipboard->setText(copied.remove(breakHere));
    });
}

} // namespace platform
