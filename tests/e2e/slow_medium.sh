#!/usr/bin/env bash
# Split to floppies onto a medium whose flush takes seconds, under a real X server: the dialog
# keeps repainting its animation while the flush runs, and the split then ends with its success
# message and the segment on the medium. Skips where mounting or tracing is not allowed.
source "$(dirname "$0")/lib.bash"
e2e_require strace import md5sum
e2e_floppy_drive "$E2E_DIR/drive"
source_file="$E2E_DIR/data.bin" segment="$SUNDREL_DRIVE_A/data.bin1"
head -c 5000 /dev/urandom >"$source_file"
shot() { import -window "$1" rgb:- 2>/dev/null | md5sum; }
traced() { ! grep -q 'TracerPid:[[:space:]]*0$' /proc/"$SUNDREL_PID"/task/*/status; }
written() { [ "$(stat -c %s "$segment" 2>/dev/null)" = 5000 ]; }

e2e_start_display
e2e_start_sundrel >/dev/null
# Attached once the program runs, so that what it starts on its own is left alone; -f follows the
# thread that flushes, which is what strace must stall.
strace -f -qq -o /dev/null -e trace=fsync -e inject=fsync:delay_enter=4000000:when=1 \
  -p "$SUNDREL_PID" 2>"$E2E_DIR/strace.log" &
tracer=$!
E2E_PIDS+=($tracer)
e2e_until 10 traced || e2e_skip "cannot trace Sundrel: $(cat "$E2E_DIR/strace.log")"
e2e_key alt+f
dialog=$(e2e_wait_window "Sun drel - Split files to floppies")
e2e_key alt+e ctrl+a
e2e_type "$source_file"
e2e_key alt+s
e2e_wait_window "Sundrel - split to floppies " >/dev/null
e2e_key Return
e2e_until 10 written || e2e_fail "the segment was not written within 10s"
before=$(shot "$dialog")
sleep 0.5
after=$(shot "$dialog")
xdotool search --onlyvisible --name "^Sun Drel - split to floppies\$" >/dev/null 2>&1 &&
  e2e_fail "the flush ended before the window could be watched"
[ "$before" != "$after" ] || e2e_fail "the window stood still while the medium was flushed"
e2e_wait_window "Sun Drel - split to floppies" >/dev/null
cmp -s "$segment" "$source_file" || e2e_fail "the segment on the medium is not the source"
# The leak check at exit cannot run in a traced process: strace lets Sundrel go first.
kill "$tracer"
e2e_until 10 eval '! traced' || e2e_fail "strace did not let Sundrel go within 10s"
e2e_key Return
e2e_wait_gone "Sun Drel - split to floppies"
e2e_leave "Sun drel - Split files to floppies"
e2e_pass
