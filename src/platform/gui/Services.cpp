#include "platform/gui/Services.h"

#include "platform/files/DriveAFreeSpace.h"
#include "platform/gui/DesktopHelpViewer.h"
#include "platform/gui/QtFileChooser.h"
#include "platform/gui/QtMessageBox.h"

namespace platform {

namespace {

template <typename Service, typename Real> class Slot final {
  public:
    Service& get() { return m_installed != nullptr ? *m_installed : m_real; }
    void install(Service* service) { m_installed = service; }

  private:
    Real m_real;
    Service* m_installed = nullptr;
};

Slot<MessageBoxService, QtMessageBox>& messageBoxSlot() {
    static Slot<MessageBoxService, QtMessageBox> slot;
    return slot;
}

Slot<FileChooserService, QtFileChooser>& fileChooserSlot() {
    static Slot<FileChooserService, QtFileChooser> slot;
    return slot;
}

Slot<FreeSpaceService, DriveAFreeSpace>& freeSpaceSlot() {
    static Slot<FreeSpaceService, DriveAFreeSpace> slot;
    return slot;
}

Slot<HelpViewerService, DesktopHelpViewer>& helpViewerSlot() {
    static Slot<HelpViewerService, DesktopHelpViewer> slot;
    return slot;
}

} // namespace

MessageBoxService& Services::messageBoxes() {
    return messageBoxSlot().get();
}
FileChooserService& Services::fileChooser() {
    return fileChooserSlot().get();
}
FreeSpaceService& Services::freeSpace() {
    return freeSpaceSlot().get();
}
HelpViewerService& Services::helpViewer() {
    return helpViewerSlot().get();
}

void Services::install(MessageBoxService* service) {
    messageBoxSlot().install(service);
}
void Services::install(FileChooserService* service) {
    fileChooserSlot().install(service);
}
void Services::install(FreeSpaceService* service) {
    freeSpaceSlot().install(service);
}
void Services::install(HelpViewerService* service) {
    helpViewerSlot().install(service);
}

} // namespace platform
