#!/usr/bin/env bash
# Through the accessibility bus, as a screen reader meets it: the main window opens each dialog,
# and every control that takes the focus, every field, bar and animation has a name.
E2E_ATSPI=1 source "$(dirname "$0")/lib.bash"
e2e_start_atspi
e2e_start_display
e2e_start_sundrel >/dev/null
e2e_atspi names || e2e_fail "a control has no fitting name"
e2e_atspi exit || e2e_fail "Exit could not be pressed"
e2e_wait_exit 0
e2e_pass
