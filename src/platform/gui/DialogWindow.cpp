#include "platform/gui/DialogWindow.h"

#include "platform/gui/AccessibleControls.h"
#include "platform/gui/AccessibleNames.h"
#include "platform/gui/DialogCommand.h"
#include "platform/gui/DialogControlFactory.h"
#include "platform/gui/QtText.h"
#include "platform/gui/Style.h"
#include "platform/gui/WindowRegistry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace platform {

namespace {

// The letter after a single '&' in a control text, or a null character when there is none.
QChar mnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] != '&')
            return text[i + 1].toLower();
        ++i;
    }
    return {};
}

QString controlText(QWidget* control) {
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return group->title();
    return {};
}

bool isTabStop(QWidget* control) {
    return control->focusPolicy() & Qt::TabFocus;
}

// An application window has a taskbar entry of its own, so the desktop must see a normal window:
// a dialog is transient for its owner (or, on X11, for the hidden client leader when it has none)
// and is left out of taskbars.
Qt::WindowType windowTypeOf(const DialogTemplate& resource) {
    return (resource.exStyle & Style::exAppWindow) ? Qt::Window : Qt::Dialog;
}

// How much larger the desktop's default font is than Qt's own default of 9 points, which is what
// the toolkit reports where no desktop names a font: the templates' sizes grow by as much, and
// dialog units with them, so the user's font size keeps every layout's proportions.
double desktopFontScale() {
    constexpr double toolkitDefaultPoints = 9.0;
    const double points = QApplication::font().pointSizeF();
    return points > 0 ? points / toolkitDefaultPoints : 1.0;
}

} // namespace

DialogWindow::DialogWindow(const DialogTemplate& resource, DialogEvents& events, QWidget* owner)
    : QDialog(owner, windowTypeOf(resource) | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_resource(resource), m_events(events) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(QtText::fromBytes(resource.caption));
    QFont font(QtText::fromBytes(resource.fontName));
    font.setPointSizeF(resource.pointSize * desktopFontScale());
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    computeBaseUnits();
    const QRect size = mapDialogRect(0, 0, resource.cx, resource.cy);
    setFixedSize(size.width(), size.height());
    AccessibleControls::install();
    createControls();
}

void DialogWindow::computeBaseUnits() {
    // The average width of the letters and the line height of the dialog's own font.
    QFontMetrics metrics(font());
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = std::max(1, (letters / 26 + 1) / 2);
    m_baseY = std::max(1, metrics.height());
}

QRect DialogWindow::mapDialogRect(int x, int y, int cx, int cy) const {
    return QRect(x * m_baseX / 4, y * m_baseY / 8, cx * m_baseX / 4, cy * m_baseY / 8);
}

void DialogWindow::createControls() {
    for (const ControlTemplate& item : m_resource.controls) {
        QWidget* previous = m_controls.empty() ? nullptr : m_controls.back();
        QWidget* control = DialogControlFactory::create(item, *this, previous);
        const auto& r = item.rect;
        control->setGeometry(mapDialogRect(r.x, r.y, r.cx, r.cy));
        control->setEnabled(!(item.style & Style::disabled));
        WindowRegistry::setControlId(control, item.id);
        control->installEventFilter(this);
        WindowRegistry::handleOf(control);
        m_controls.push_back(control);
        if (item.id != -1)
            m_byId[item.id] = control;
    }
    // Group boxes frame other controls: they lie beneath them and never take their clicks.
    for (QWidget* control : m_controls) {
        if (qobject_cast<QGroupBox*>(control))
            control->lower();
    }
    // A label's mnemonic moves the focus to the next control that takes it.
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        auto* label = qobject_cast<QLabel*>(m_controls[i]);
        if (label == nullptr || mnemonicOf(label->text()).isNull())
            continue;
        for (std::size_t next = i + 1; next < m_controls.size(); ++next) {
            if (isTabStop(m_controls[next])) {
                label->setBuddy(m_controls[next]);
                break;
            }
        }
    }
    AccessibleNames::apply(m_resource.controls, m_controls);
    // Tab order is template order, among the controls that take the focus at all.
    QWidget* previous = nullptr;
    for (QWidget* control : m_controls) {
        if (!isTabStop(control))
            continue;
        if (previous != nullptr)
            setTabOrder(previous, control);
        previous = control;
    }
}

QWidget* DialogWindow::control(int id) const {
    auto found = m_byId.find(id);
    return found == m_byId.end() ? nullptr : found->second;
}

void DialogWindow::sendClick(int id) {
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != this)
        return;
    sendCommand(id);
}

void DialogWindow::sendCommand(int id) {
    if (m_busy)
        return;
    m_events.onCommand(id);
}

int DialogWindow::run() {
    if (windowType() == Qt::Dialog) {
        setWindowModality(Qt::ApplicationModal);
        return exec();
    }
    // A modal run would announce the application window as modal to the whole session; it waits
    // in a loop of its own instead, and the dialogs it opens are modal to it.
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    loop.exec();
    return result();
}

void DialogWindow::focusFirstTabStop() {
    for (QWidget* control : m_controls) {
        if (isTabStop(control) && control->isEnabled()) {
            control->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void DialogWindow::focusNextTabStopAfter(QWidget* control) {
    auto at = std::find(m_controls.begin(), m_controls.end(), control);
    if (at == m_controls.end())
        return;
    const std::size_t start = std::size_t(at - m_controls.begin());
    for (std::size_t step = 1; step <= m_controls.size(); ++step) {
        QWidget* next = m_controls[(start + step) % m_controls.size()];
        if (isTabStop(next) && next->isEnabled()) {
            next->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
}

bool DialogWindow::pressMnemonic(QChar letter) {
    for (QWidget* control : m_controls) {
        if (mnemonicOf(controlText(control)) != letter.toLower())
            continue;
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            if (!button->isEnabled())
                return true;
            button->setFocus(Qt::ShortcutFocusReason);
            button->click();
        } else {
            focusNextTabStopAfter(control);
        }
        return true;
    }
    return false;
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    // Alt+letter belongs to the dialog's own mnemonics, whatever control has the focus: claiming
    // it here keeps the toolkit's shortcuts out, and the key press reaches keyPressEvent.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::AltModifier && !key->text().isEmpty()) {
            event->accept();
            return true;
        }
    }
    // Controls such as edit fields would take Alt+letter for themselves, and a button would take
    // the Space of Alt+Space, the system menu's key, as a press.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::AltModifier) {
            showSystemMenu(mapToGlobal(QPoint(0, 0)));
            return true;
        }
        const QString typed = key->text();
        if (key->modifiers() == Qt::AltModifier && typed.size() == 1 &&
            typed[0].isLetterOrNumber() && !m_busy && pressMnemonic(typed[0]))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    QWidget* focus = focusWidget();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        auto* button = qobject_cast<QPushButton*>(focus);
        sendCommand(button != nullptr ? WindowRegistry::controlId(button) : DialogCommand::ok);
        return;
    }
    case Qt::Key_Escape:
        sendCommand(DialogCommand::cancel);
        return;
    case Qt::Key_F1:
        if (modifiers == Qt::NoModifier && !m_busy)
            m_events.onHelpKey();
        return;
    case Qt::Key_Space:
        if (modifiers == Qt::AltModifier) {
            showSystemMenu(mapToGlobal(QPoint(0, 0)));
            return;
        }
        break;
    default:
        break;
    }
    const QString typed = event->text();
    const bool alt = modifiers == Qt::AltModifier;
    const bool plainOnButton = modifiers == Qt::NoModifier && qobject_cast<QPushButton*>(focus);
    if (typed.size() == 1 && typed[0].isLetterOrNumber() && (alt || plainOnButton) && !m_busy) {
        if (pressMnemonic(typed[0]))
            return;
    }
    QDialog::keyPressEvent(event);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The close box is command 2; the dialog itself decides whether and when it ends.
    event->ignore();
    sendCommand(DialogCommand::cancel);
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    // The background is wherever no control that takes input lies: group boxes and labels count.
    QWidget* under = childAt(event->pos());
    if (!m_systemMenu.empty() && (under == nullptr || under->focusPolicy() == Qt::NoFocus))
        showSystemMenu(event->globalPos());
}

void DialogWindow::appendSystemMenuItem(const std::string& text, unsigned id) {
    m_systemMenu.append(text, id);
}

void DialogWindow::showSystemMenu(const QPoint& globalPosition) {
    if (m_systemMenu.empty() || m_busy)
        return;
    if (const std::optional<unsigned> chosen = m_systemMenu.exec(this, globalPosition))
        m_events.onSysCommand(*chosen);
}

void DialogWindow::setBusy(bool busy, std::span<const int> greyed) {
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        m_focusBeforeBusy = QApplication::focusWidget();
        for (const int id : greyed) {
            if (QWidget* button = control(id); button != nullptr && button->isEnabled()) {
                button->setEnabled(false);
                m_greyed.emplace_back(button);
            }
        }
        return;
    }
    for (const QPointer<QWidget>& button : m_greyed) {
        if (button)
            button->setEnabled(true);
    }
    m_greyed.clear();
    // A greyed button that had the focus lost it; Enter must press it again as before.
    if (m_focusBeforeBusy && isAncestorOf(m_focusBeforeBusy))
        m_focusBeforeBusy->setFocus();
    QApplication::restoreOverrideCursor();
}

} // namespace platform
