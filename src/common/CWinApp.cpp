#include "common/CWinApp.h"

#include "common/AfxMessageBox.h"

#include "platform/files/PathParts.h"
#include "platform/gui/MessageBoxType.h"
#include "platform/gui/Process.h"
#include "platform/gui/Services.h"
#include "platform/gui/TerminationSignals.h"
#include "resources/StringTable.h"

namespace {

constexpr unsigned failCriticalErrors = 0x0001;
constexpr unsigned noOpenFileErrorBox = 0x8000;

CWinApp*& current() {
    static CWinApp* app = nullptr;
    return app;
}

std::string withoutExtension(const std::string& name) {
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

} // namespace

// The program file is named once, when the process starts: /proc/self/exe follows the file, and
// reads "... (deleted)" once it has been replaced.
CWinApp::CWinApp() : m_strProgramPath(platform::Process::programFilePath()) {
    current() = this;
}

CWinApp::~CWinApp() {
    if (current() == this)
        current() = nullptr;
}

CWinApp* CWinApp::Get() {
    return current();
}

std::string CWinApp::startedFrom() {
    const CWinApp* app = current();
    return app != nullptr ? app->m_strProgramPath : platform::Process::programFilePath();
}

int CWinApp::Run() {
    platform::Process::setErrorMode(platform::Process::errorMode() | failCriticalErrors |
                                    noOpenFileErrorBox);
    platform::Process::failWritesPastFileSizeLimit();
    platform::TerminationSignals::install();
    // Start-up answering false means there is no message loop to run: the program ends.
    InitInstance();
    return 0;
}

std::string CWinApp::DisplayName() {
    return DisplayNameOf(startedFrom());
}

std::string CWinApp::HelpFilePath() {
    return HelpFilePathOf(startedFrom());
}

std::string CWinApp::DisplayNameOf(const std::string& programPath) {
    // The extension is cut from the file name only: a dot in a directory name stays.
    return withoutExtension(platform::PathParts::lastPart(programPath));
}

std::string CWinApp::HelpFilePathOf(const std::string& programPath) {
    const std::string name = platform::PathParts::lastPart(programPath);
    const std::string directory = programPath.substr(0, programPath.size() - name.size());
    return directory + withoutExtension(name) + ".HLP";
}

bool CWinApp::InitInstance() {
    return false;
}

void CWinApp::OnHelp(unsigned context) {
    if (!platform::Services::helpViewer().showHelp(HelpFilePath(), context))
        AfxMessageBox(resources::StringTable::failedToLaunchHelp,
                      platform::MessageBoxType::iconExclamation);
}
