#include "support/DialogPress.h"

#include "support/BenchMessageBoxes.h"
#include "support/Stopwatch.h"

#include "common/CDialog.h"
#include "platform/gui/DialogHost.h"

#include <QTimer>

#include <stdexcept>
#include <vector>

namespace bench {

namespace {
constexpr int escape = 2;
}

double DialogPress::timed(CDialog& dialog, int button, const std::string& success,
                          const std::string& operation) {
    BenchMessageBoxes boxes;
    double elapsed = 0;
    QTimer::singleShot(0, [&] {
        const platform::Window window = dialog.GetSafeHwnd();
        const Stopwatch stopwatch;
        platform::DialogHost::sendCommand(window, button);
        elapsed = stopwatch.seconds();
        platform::DialogHost::sendCommand(window, escape);
    });
    dialog.DoModal();
    if (boxes.texts() != std::vector<std::string>{success})
        throw std::runtime_error(operation + " did not succeed: " +
                                 (boxes.texts().empty() ? "no message" : boxes.texts().front()));
    return elapsed;
}

} // namespace bench
