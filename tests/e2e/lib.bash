# Shared steps of the end-to-end tests: the real Sundrel under Xvfb, driven with xdotool or through
# the accessibility bus. Every wait is bounded and fails with a message. Source this file; it is
# not a test itself.

set -euo pipefail

E2E_SKIP=77
e2e_skip() {
  echo "SKIP: $*"
  exit $E2E_SKIP
}
e2e_require() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || e2e_skip "$tool is not installed"
  done
}

# A test that sets E2E_ATSPI=1 before sourcing this file runs again inside a private session bus
# (dbus-run-session), so that no test ever talks to a desktop's real bus.
E2E_HOME=$(dirname "${BASH_SOURCE[0]}")
ATSPI_LAUNCHER=/usr/libexec/at-spi-bus-launcher
if [ -n "${E2E_ATSPI:-}" ] && [ -z "${SUNDREL_E2E_PRIVATE_BUS:-}" ]; then
  e2e_require dbus-run-session dbus-send
  [ -x "$ATSPI_LAUNCHER" ] || e2e_skip "$ATSPI_LAUNCHER is not installed (at-spi2-core)"
  /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || e2e_skip "pyatspi is not installed (python3-pyatspi)"
  SUNDREL_E2E_PRIVATE_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi

SUNDREL=${1:?usage: $0 path/to/Sundrel}
E2E_DIR=$(mktemp -d /tmp/sundrel-e2e-XXXXXX)
E2E_PIDS=()
# Without a session bus the toolkit would start one of its own for each program (dbus-launch),
# which outlives the test.
export DBUS_SESSION_BUS_ADDRESS=${DBUS_SESSION_BUS_ADDRESS:-unix:path=$E2E_DIR/no-session-bus}

e2e_fail() {
  echo "FAIL: $*" >&2
  [ -s "$E2E_DIR/sundrel.log" ] && sed 's/^/  sundrel: /' "$E2E_DIR/sundrel.log" | tail -n 20 >&2
  exit 1
}

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]:-}"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done
  rm -rf "$E2E_DIR"
}
trap e2e_cleanup EXIT

# Runs the command until it succeeds, for at most that many seconds; returns 1 when they pass.
e2e_until() {
  local seconds=$1 waited
  shift
  for waited in $(seq 1 $((seconds * 20))); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}

# Fails naming what ended when the last process started in the background has ended.
e2e_alive() { kill -0 "${E2E_PIDS[-1]}" 2>/dev/null || e2e_fail "$1 ended: $(tail -n 20 "$2")"; }

# Starts a private X server and exports DISPLAY. Xvfb picks a free display number itself and
# writes it once it is ready, so tests running at the same time never share a server. -noreset
# keeps it from resetting, and refusing connections, each time its last client leaves.
e2e_start_display() {
  e2e_require Xvfb xdotool
  Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$E2E_DIR/display" >"$E2E_DIR/xvfb.log" 2>&1 &
  E2E_PIDS+=($!)
  display_written() { e2e_alive Xvfb "$E2E_DIR/xvfb.log" && grep -q '[0-9]' "$E2E_DIR/display"; }
  e2e_until 10 display_written || e2e_fail "Xvfb did not start within 10s"
  export DISPLAY=":$(tr -dc '0-9' <"$E2E_DIR/display")"
  xdotool getdisplaygeometry >/dev/null 2>&1 || e2e_fail "Xvfb $DISPLAY does not answer"
}

# Starts the accessibility bus on the private session bus, waits until it answers, and makes every
# Sundrel started afterwards publish its widgets there.
e2e_start_atspi() {
  # The launcher's socket lies in the runtime directory: one of its own for each test, since tests
  # run side by side.
  export XDG_RUNTIME_DIR="$E2E_DIR/runtime"
  mkdir -p -m 0700 "$XDG_RUNTIME_DIR"
  "$ATSPI_LAUNCHER" --launch-immediately >"$E2E_DIR/atspi.log" 2>&1 &
  E2E_PIDS+=($!)
  # Asks whether the name is owned, not for the address: asking would start a second launcher.
  bus_owned() {
    e2e_alive "the AT-SPI bus launcher" "$E2E_DIR/atspi.log"
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'
  }
  e2e_until 10 bus_owned || e2e_fail "the AT-SPI bus did not answer within 10s"
  export QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

# Runs one step of atspi.py against the running Sundrel. The step's own waits are bounded; the
# timeout only guards against a blocked bus call.
e2e_atspi() {
  PYTHONPATH="$E2E_HOME" PYTHONDONTWRITEBYTECODE=1 \
    timeout --kill-after=5 240 /usr/bin/python3 "$E2E_HOME/atspi.py" "$SUNDREL_PID" "$@"
}

# Starts Sundrel (extra arguments are passed on) and remembers its pid in SUNDREL_PID.
e2e_start_sundrel() {
  unset QT_QPA_PLATFORM
  "$SUNDREL" "$@" >"$E2E_DIR/sundrel.log" 2>&1 &
  SUNDREL_PID=$!
  E2E_PIDS+=($SUNDREL_PID)
  e2e_wait_window " Sun Drel " none "$SUNDREL_PID"
}

# Waits until a window with exactly that title is mapped (other than window `previous`, when
# given; of process `pid`, when given, since another Sundrel may show the same title); activates
# it and prints its id.
e2e_wait_window() {
  local title=$1 previous=${2:-none} pid=${3:-} id
  new_window() {
    [ -z "$pid" ] || kill -0 "$pid" 2>/dev/null || e2e_fail "Sundrel ended before its window \"$title\" showed"
    id=$(xdotool search --all --onlyvisible ${pid:+--pid "$pid"} --name "^$(e2e_regex "$title")\$" \
      2>/dev/null | tail -n 1 || true)
    [ -n "$id" ] && [ "$id" != "$previous" ]
  }
  e2e_until 20 new_window || e2e_fail "no new window titled \"$title\" within 20s"
  xdotool windowactivate --sync "$id" >/dev/null 2>&1 || xdotool windowfocus --sync "$id" >/dev/null 2>&1 || true
  sleep 0.2
  echo "$id"
}

# Waits until no visible window has that title.
e2e_wait_gone() {
  no_window() { ! xdotool search --onlyvisible --name "^$(e2e_regex "$1")\$" >/dev/null 2>&1; }
  e2e_until 20 no_window "$1" || e2e_fail "the window titled \"$1\" is still open after 20s"
}

e2e_regex() { printf '%s' "$1" | sed 's/[][\.*^$?+(){}|/]/\\&/g'; }

# Keys and text to the window that has the focus.
e2e_key() { xdotool key --delay 60 "$@"; sleep 0.2; }
e2e_type() { xdotool type --delay 20 -- "$1"; sleep 0.2; }

# Waits for Sundrel to end and checks its exit status.
e2e_wait_exit() {
  local expected=${1:-0} status
  ended() { ! kill -0 "$SUNDREL_PID" 2>/dev/null; }
  e2e_until 20 ended || e2e_fail "Sundrel did not exit within 20s"
  wait "$SUNDREL_PID" && status=0 || status=$?
  [ "$status" -eq "$expected" ] || e2e_fail "Sundrel exited with $status, expected $expected"
}

# Checks that base1, base2, ... have exactly the given lengths, that no further number exists, and
# that the segments in order make up the source byte for byte.
e2e_expect_segments() {
  local base=$1 k=0 length
  shift
  for length in "$@"; do
    k=$((k + 1))
    [ -f "$base$k" ] || e2e_fail "segment $k was not written"
    [ "$(stat -c %s "$base$k")" = "$length" ] ||
      e2e_fail "segment $k holds $(stat -c %s "$base$k") bytes, expected $length"
  done
  [ ! -e "$base$((k + 1))" ] || e2e_fail "a segment $((k + 1)) was written"
  for k in $(seq 1 $#); do cat "$base$k"; done | cmp -s - "$base" ||
    e2e_fail "the segments do not make up the source"
}

# In the Split By Size dialog: types the segment size, presses "Split File !" and answers the box
# that reports the split.
e2e_split_by_size() {
  e2e_key alt+e ctrl+a
  e2e_type "$1"
  e2e_key alt+f
  e2e_wait_window "Sun Drel - split by size " >/dev/null
  e2e_key Return
  e2e_wait_gone "Sun Drel - split by size "
}

# Mounts a fresh floppy-sized tmpfs on that directory as drive A: (skips where mounting is not
# allowed) and takes it out again when the test ends.
e2e_floppy_drive() {
  e2e_require mount umount mountpoint
  export SUNDREL_DRIVE_A=$1
  mkdir -p "$SUNDREL_DRIVE_A"
  trap 'mountpoint -q "$SUNDREL_DRIVE_A" && umount -l "$SUNDREL_DRIVE_A"; e2e_cleanup' EXIT
  e2e_insert_floppy 2>/dev/null || e2e_skip "mounting a tmpfs is not allowed here"
}
e2e_insert_floppy() { mount -t tmpfs -o size=1440k tmpfs "$SUNDREL_DRIVE_A"; }

# Leaves the dialog of that title with Esc, then the main window, and checks the program ended
# well.
e2e_leave() {
  e2e_key Escape
  e2e_wait_gone "$1"
  e2e_wait_window " Sun Drel " >/dev/null
  e2e_key Escape
  e2e_wait_exit 0
}

e2e_pass() { echo "PASS: $(basename "$0")"; }
