#include "app/CSegmentApp.h"

#include "platform/Application.h"

int main(int argc, char** argv) {
    // The desktop session needs the arguments; the program itself reads none of them.
    platform::Application desktop(argc, argv);
    return theApp.Run();
}
