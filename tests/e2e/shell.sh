#!/usr/bin/env bash
# The main window under a real X server: every operation dialog opens by its mnemonic and closes
# with Esc, the About box opens and closes, arguments change nothing, and Esc ends the program.
source "$(dirname "$0")/lib.bash"

e2e_start_display
e2e_start_sundrel --some-argument "ignored file" >/dev/null

for dialog in "alt+s:  Sun Drel    Split files by size " \
              "alt+n:  Sun Drel    Split Files By Number " \
              "alt+f:Sun drel - Split files to floppies" \
              "alt+j:Sun Drel   Join Split Segments" \
              "alt+a:About Sundrel"; do
  key=${dialog%%:*}
  title=${dialog#*:}
  e2e_key "$key"
  e2e_wait_window "$title" >/dev/null
  e2e_key Escape
  e2e_wait_gone "$title"
  e2e_wait_window " Sun Drel " >/dev/null
done

e2e_key Escape
e2e_wait_exit 0
e2e_pass
