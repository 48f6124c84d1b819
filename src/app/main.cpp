#include "app/CSegmentApp.h"

#include "platform/gui/Application.h"
#include "platform/gui/CommandLine.h"
#include "resources/VersionInfo.h"

#include <cctype>
#include <string>

namespace {

platform::CommandLine::About about() {
    const resources::VersionInfo& block = resources::VersionInfo::program();
    std::string version;
    for (const unsigned part : block.fileVersion)
        version += (version.empty() ? "" : ".") + std::to_string(part);
    // The description begins with the product name: what follows it is the summary.
    std::string summary = block.value("FileDescription").value_or("");
    const std::string product = block.value("ProductName").value_or("") + ": ";
    if (summary.rfind(product, 0) == 0 && summary.size() > product.size()) {
        summary = summary.substr(product.size());
        summary[0] = char(std::toupper(static_cast<unsigned char>(summary[0])));
    }
    return {CWinApp::DisplayName(), version, summary + "."};
}

} // namespace

int main(int argc, char** argv) {
    const platform::CommandLine command(argc, argv, about());
    if (command.exitStatus())
        return *command.exitStatus();
    theApp.SetStartRequest(command.request());
    // The toolkit reads no command line of its own: given the arguments, it would take options
    // such as "-platform" or "-style" from them, which the program's own parser refuses instead.
    int programOnly = 1;
    char* arguments[] = {argv[0], nullptr};
    platform::Application desktop(programOnly, arguments);
    return theApp.Run();
}
