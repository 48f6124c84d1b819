#include "platform/gui/Application.h"

#include <QApplication>
#include <QFont>

namespace platform {

struct Application::State {
    State(int& argc, char** argv) : application(argc, argv) {}
    QApplication application;
};

Application::Application(int& argc, char** argv) : m_state(std::make_unique<State>(argc, argv)) {
    // The dialog templates name the classic dialog font; the desktop's sans-serif stands in.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Docks match windows to the desktop entry by this name; on Wayland it is the app id.
    QGuiApplication::setDesktopFileName(QStringLiteral("sundrel"));
}

Application::~Application() = default;

} // namespace platform
