#pragma once

namespace platform {

// Teaches the toolkit's accessibility layer the controls of our own making (the up-down control
// and the animation), so that screen readers meet them with their proper roles and values.
class AccessibleControls final {
  public:
    // Safe to call more than once; takes effect for interfaces made afterwards.
    static void install();
};

} // namespace platform
