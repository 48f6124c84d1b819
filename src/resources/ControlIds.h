#pragma once

#include "platform/gui/DialogCommand.h"

// The numbers by which each dialog addresses its controls; the templates give the controls these
// numbers. A number means something only within its own dialog. Done, OK and Exit are the
// buttons of platform::DialogCommand.
namespace resources::ControlIds {

namespace MainWindow {
constexpr int splitBySize = 1000;
constexpr int floppySplit = 1001;
constexpr int splitByNumber = 1002;
constexpr int join = 1006;
constexpr int about = 1017;
constexpr int exit = platform::DialogCommand::cancel;
} // namespace MainWindow

// Split by number and split by size.
namespace Split {
constexpr int path = 1001;
constexpr int browse = 1002;
constexpr int split = 1003;
constexpr int segmentCount = 1004;
constexpr int segmentSize = 1005;
constexpr int arrows = 1013;
constexpr int progress = 1020;
} // namespace Split

namespace Join {
constexpr int firstSegment = 1007;
constexpr int browse = 1002;
constexpr int join = 1009;
constexpr int progress = 1020;
} // namespace Join

namespace FloppySplit {
constexpr int path = 1001;
constexpr int browse = 1002;
constexpr int split = 1003;
constexpr int animation = 1019;
} // namespace FloppySplit

} // namespace resources::ControlIds
