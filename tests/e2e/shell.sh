#!/usr/bin/env bash
# The main window under a real X server: every dialog opens by its mnemonic and closes with Esc,
# About opens from the system menu too, arguments (even the toolkit's own options) change nothing,
# Esc and Exit end the program with status 0, two programs are independent, a renamed copy
# names itself after its file, and a copy whose file is replaced while it runs keeps its name.
source "$(dirname "$0")/lib.bash"
e2e_start_display

e2e_start_sundrel --some-argument "ignored file" -platform offscreen -qwindowtitle Hijacked >/dev/null
for dialog in "alt+s:  Sun Drel    Split files by size " "alt+n:  Sun Drel    Split Files By Number " \
              "alt+f:Sun drel - Split files to floppies" "alt+j:Sun Drel   Join Split Segments" \
              "alt+a:About Sundrel"; do
  e2e_key "${dialog%%:*}"
  e2e_wait_window "${dialog#*:}" >/dev/null
  e2e_key Escape
  e2e_wait_gone "${dialog#*:}"
  e2e_wait_window " Sun Drel " >/dev/null
done
# The system menu's last entry is About: Up from no entry wraps to it.
e2e_key alt+space
e2e_key Up Return
e2e_wait_window "About Sundrel" >/dev/null
e2e_key Escape
e2e_wait_gone "About Sundrel"
e2e_wait_window " Sun Drel " >/dev/null
first=$SUNDREL_PID

# A second program, ended by its Exit mnemonic, leaves the first one running.
e2e_start_sundrel >/dev/null
e2e_key alt+x
e2e_wait_exit 0
kill -0 "$first" 2>/dev/null || e2e_fail "ending the second program ended the first"
SUNDREL_PID=$first
e2e_wait_window " Sun Drel " >/dev/null
e2e_key Escape
e2e_wait_exit 0

# A renamed copy captions its boxes with the new name: F1 finds no x.HLP and says so.
ln "$SUNDREL" "$E2E_DIR/x.exe" 2>/dev/null || cp "$SUNDREL" "$E2E_DIR/x.exe"
SUNDREL="$E2E_DIR/x.exe"
e2e_start_sundrel >/dev/null
e2e_key F1
e2e_wait_window "x" >/dev/null
e2e_key Return
e2e_wait_gone "x"
e2e_wait_window " Sun Drel " >/dev/null
e2e_key Escape
e2e_wait_exit 0

# An upgrade replaces the program file under the running program: its boxes keep its name.
cp "$SUNDREL" "$E2E_DIR/Sundrel"
SUNDREL="$E2E_DIR/Sundrel"
e2e_start_sundrel >/dev/null
cp "$SUNDREL" "$SUNDREL.new"
mv -f "$SUNDREL.new" "$SUNDREL"
e2e_key F1
e2e_wait_window "Sundrel" >/dev/null
e2e_key Return
e2e_wait_gone "Sundrel"
e2e_wait_window " Sun Drel " >/dev/null
e2e_key Escape
e2e_wait_exit 0
e2e_pass
