#!/usr/bin/env bash
# Sundrel as a native Wayland client of a headless compositor, with no X server to fall back on,
# driven through the accessibility bus (a headless compositor has no seat, so takes no other
# input): 100003 bytes split in 3 segments, joined back, each step with its message box, the bytes
# checked on disk, Exit with status 0, and not a line on Sundrel's output (the compositor places
# the windows and ignores Sundrel's moves; nothing may warn about it).
E2E_ATSPI=1 source "$(dirname "$0")/lib.bash"
e2e_require weston

unset DISPLAY WAYLAND_DISPLAY
e2e_start_atspi # also gives the compositor its private runtime directory
weston --backend=headless-backend.so --use-pixman --debug --idle-time=0 --no-config \
  --socket=wayland-0 >"$E2E_DIR/weston.log" 2>&1 &
E2E_PIDS+=($!)
socket_open() { e2e_alive weston "$E2E_DIR/weston.log" && [ -S "$XDG_RUNTIME_DIR/wayland-0" ]; }
e2e_until 10 socket_open || e2e_fail "weston did not open its socket within 10s"

# Qt 6.4's Wayland plugin crashes (in QWaylandInputDevice::textInput) when a text field takes the
# focus on a compositor without a seat, unless no input method is loaded.
export WAYLAND_DISPLAY=wayland-0 QT_QPA_PLATFORM=wayland QT_IM_MODULE=none
"$SUNDREL" >"$E2E_DIR/sundrel.log" 2>&1 &
SUNDREL_PID=$!
E2E_PIDS+=($SUNDREL_PID)
step() {
  e2e_atspi "$@" && return 0
  grep -q 'Could not find the Qt platform plugin "wayland"' "$E2E_DIR/sundrel.log" &&
    e2e_skip "Qt has no Wayland platform plugin (qt6-wayland)"
  e2e_fail "the step \"$1\" failed"
}

source_file="$E2E_DIR/data file.bin"
head -c 100003 /dev/urandom >"$source_file"
step split-by-number "$source_file" 3
e2e_expect_segments "$source_file" 33334 33334 33335
mv "$source_file" "$E2E_DIR/original"
step join "${source_file}1"
cmp -s "$source_file" "$E2E_DIR/original" || e2e_fail "the joined file is not the source"
step exit
e2e_wait_exit 0
[ ! -s "$E2E_DIR/sundrel.log" ] || e2e_fail "Sundrel printed on Wayland (its output follows)"
e2e_pass
