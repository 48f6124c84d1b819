#!/usr/bin/env bash
# The program under a real X server: arguments (even the toolkit's own options) change nothing, a
# second program ended by its Exit mnemonic leaves the first running, and a renamed copy captions
# its boxes after its file, even once an upgrade has replaced that file under it.
source "$(dirname "$0")/lib.bash"
e2e_start_display

ln "$SUNDREL" "$E2E_DIR/x.exe" 2>/dev/null || cp "$SUNDREL" "$E2E_DIR/x.exe"
SUNDREL="$E2E_DIR/x.exe"
e2e_start_sundrel --some-argument "ignored file" -platform offscreen -qwindowtitle Hijacked >/dev/null
first=$SUNDREL_PID
cp "$SUNDREL" "$SUNDREL.new"
mv -f "$SUNDREL.new" "$SUNDREL"

e2e_start_sundrel >/dev/null
e2e_key alt+x
e2e_wait_exit 0
kill -0 "$first" 2>/dev/null || e2e_fail "ending the second program ended the first"
SUNDREL_PID=$first
e2e_wait_window " Sun Drel " >/dev/null
# F1 finds no x.HLP and says so in a box captioned with the display name.
e2e_key F1
e2e_wait_window "x" >/dev/null
e2e_key Return
e2e_wait_gone "x"
e2e_wait_window " Sun Drel " >/dev/null
e2e_key Escape
e2e_wait_exit 0
e2e_pass
