#pragma once

#include "platform/gui/DialogEvents.h"
#include "platform/gui/DialogSystemMenu.h"
#include "platform/gui/DialogTemplate.h"

#include <QDialog>
#include <QPointer>

#include <map>
#include <span>
#include <string>
#include <vector>

namespace platform {

// The real window of a dialog template: controls made from the template, commands passed to the
// owner object, dialog units converted with the template font's own metrics.
class DialogWindow final : public QDialog {
  public:
    DialogWindow(const DialogTemplate& resource, DialogEvents& events, QWidget* owner);

    const DialogTemplate& resource() const { return m_resource; }
    DialogEvents& events() { return m_events; }
    QWidget* control(int id) const;
    const std::vector<QWidget*>& controlsInOrder() const { return m_controls; }
    QRect mapDialogRect(int x, int y, int cx, int cy) const;

    void appendSystemMenuItem(const std::string& text, unsigned id);
    void showSystemMenu(const QPoint& globalPosition);
    // While busy the dialog takes no commands, the pointer shows that the program is working over
    // every window of it, and the controls named greyed are off; all is as before once it is not.
    void setBusy(bool busy, std::span<const int> greyed = {});
    bool isBusy() const { return m_busy; }
    void focusFirstTabStop();
    void sendCommand(int id);
    // A button's click. Qt's modality stops the mouse and the keys but not a screen reader's
    // press: a window under a modal one takes no click.
    void sendClick(int id);
    // Shows the window and waits until it is done; answers the result it was done with.
    int run();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void computeBaseUnits();
    void createControls();
    bool pressMnemonic(QChar letter);
    void focusNextTabStopAfter(QWidget* control);

    DialogTemplate m_resource;
    DialogEvents& m_events;
    int m_baseX = 6;
    int m_baseY = 13;
    std::vector<QWidget*> m_controls;
    std::map<int, QWidget*> m_byId;
    DialogSystemMenu m_systemMenu;
    bool m_busy = false;
    std::vector<QPointer<QWidget>> m_greyed; // turned off by setBusy, to turn on again
    QPointer<QWidget> m_focusBeforeBusy;
};

} // namespace platform
