#include "app/CSegmentApp.h"

#include "platform/gui/Application.h"

int main(int, char** argv) {
    // The program reads no command line, and neither does the desktop session: given the
    // arguments, the toolkit would take options such as "-platform" or "-style" from them.
    int programOnly = 1;
    char* arguments[] = {argv[0], nullptr};
    platform::Application desktop(programOnly, arguments);
    return theApp.Run();
}
