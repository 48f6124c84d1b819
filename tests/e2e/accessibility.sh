#!/usr/bin/env bash
# Through the accessibility bus, as a screen reader meets it: the main window opens each dialog,
# and every control that takes the focus, every field, bar and animation has a name.
source "$(dirname "$0")/atspi.bash"

atspi_start_bus
e2e_start_display
e2e_start_sundrel >/dev/null
atspi_run "$(dirname "$0")/accessibility.py" "$SUNDREL_PID"
e2e_wait_exit 0
e2e_pass
