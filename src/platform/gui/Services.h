#pragma once

#include "platform/files/FreeSpaceService.h"
#include "platform/gui/FileChooserService.h"
#include "platform/gui/HelpViewerService.h"
#include "platform/gui/MessageBoxService.h"

namespace platform {

// The desktop services the program asks for. Tests install stand-ins; installing nullptr puts
// the real service back.
class Services final {
  public:
    static MessageBoxService& messageBoxes();
    static FileChooserService& fileChooser();
    static FreeSpaceService& freeSpace();
    static HelpViewerService& helpViewer();

    static void install(MessageBoxService* service);
    static void install(FileChooserService* service);
    static void install(FreeSpaceService* service);
    static void install(HelpViewerService* service);
};

} // namespace platform
