# Shared steps of the end-to-end tests: the real Sundrel under Xvfb, driven with xdotool.
# Every wait is bounded and fails with a message. Source this file; it is not a test itself.

set -euo pipefail

E2E_SKIP=77
SUNDREL=${1:?usage: $0 path/to/Sundrel}
E2E_DIR=$(mktemp -d /tmp/sundrel-e2e-XXXXXX)
E2E_PIDS=()
# Without a session bus the toolkit would start one of its own for each program (dbus-launch),
# which outlives the test; the tests that need a bus start a private one first.
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

e2e_require() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit $E2E_SKIP; }
  done
}

# Starts a private X server and exports DISPLAY. Xvfb picks a free display number itself and
# writes it once it is ready, so tests running at the same time never share a server. -noreset
# keeps it from resetting, and refusing connections, each time its last client leaves.
e2e_start_display() {
  e2e_require Xvfb xdotool
  local waited number=""
  Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$E2E_DIR/display" >"$E2E_DIR/xvfb.log" 2>&1 &
  E2E_PIDS+=($!)
  for waited in $(seq 1 200); do
    number=$(tr -dc '0-9' <"$E2E_DIR/display" 2>/dev/null || true)
    [ -n "$number" ] && break
    kill -0 "${E2E_PIDS[-1]}" 2>/dev/null || e2e_fail "Xvfb ended: $(cat "$E2E_DIR/xvfb.log")"
    sleep 0.05
  done
  [ -n "$number" ] || e2e_fail "Xvfb did not start within 10s"
  export DISPLAY=":$number"
  xdotool getdisplaygeometry >/dev/null 2>&1 || e2e_fail "Xvfb $DISPLAY does not answer"
}

# Starts Sundrel (extra arguments are passed on) and remembers its pid in SUNDREL_PID.
e2e_start_sundrel() {
  unset QT_QPA_PLATFORM
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
  "$SUNDREL" "$@" >"$E2E_DIR/sundrel.log" 2>&1 &
  SUNDREL_PID=$!
  E2E_PIDS+=($SUNDREL_PID)
  e2e_wait_window " Sun Drel " none "$SUNDREL_PID"
}

# Waits until a window with exactly that title is mapped (other than window `previous`, when
# given; of process `pid`, when given, since another Sundrel may show the same title); activates
# it and prints its id.
e2e_wait_window() {
  local title=$1 previous=${2:-none} pid=${3:-} seconds=20 id waited
  for waited in $(seq 1 $((seconds * 20))); do
    id=$(xdotool search --all --onlyvisible ${pid:+--pid "$pid"} --name "^$(e2e_regex "$title")\$" \
      2>/dev/null | tail -n 1 || true)
    if [ -n "$id" ] && [ "$id" != "$previous" ]; then
      xdotool windowactivate --sync "$id" >/dev/null 2>&1 || xdotool windowfocus --sync "$id" >/dev/null 2>&1 || true
      sleep 0.2
      echo "$id"
      return 0
    fi
    [ -z "$pid" ] || kill -0 "$pid" 2>/dev/null || e2e_fail "Sundrel ended before its window \"$title\" showed"
    sleep 0.05
  done
  e2e_fail "no new window titled \"$title\" within ${seconds}s"
}

# Waits until no visible window has that title.
e2e_wait_gone() {
  local title=$1 seconds=${2:-20} waited
  for waited in $(seq 1 $((seconds * 20))); do
    xdotool search --onlyvisible --name "^$(e2e_regex "$title")\$" >/dev/null 2>&1 || return 0
    sleep 0.05
  done
  e2e_fail "the window titled \"$title\" is still open after ${seconds}s"
}

e2e_regex() { printf '%s' "$1" | sed 's/[][\.*^$?+(){}|/]/\\&/g'; }

# Keys and text to the window that has the focus.
e2e_key() { xdotool key --delay 60 "$@"; sleep 0.2; }
e2e_type() { xdotool type --delay 20 -- "$1"; sleep 0.2; }

# Waits for Sundrel to end and checks its exit status.
e2e_wait_exit() {
  local expected=${1:-0} waited status
  for waited in $(seq 1 400); do
    if ! kill -0 "$SUNDREL_PID" 2>/dev/null; then
      wait "$SUNDREL_PID" && status=0 || status=$?
      [ "$status" -eq "$expected" ] || e2e_fail "Sundrel exited with $status, expected $expected"
      return 0
    fi
    sleep 0.05
  done
  e2e_fail "Sundrel did not exit within 20s"
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

# Leaves the dialog of that title with Esc, then the main window, and checks the program ended
# well.
e2e_leave() {
  local dialog=$1
  e2e_key Escape
  e2e_wait_gone "$dialog"
  e2e_wait_window " Sun Drel " >/dev/null
  e2e_key Escape
  e2e_wait_exit 0
}

e2e_pass() { echo "PASS: $(basename "$0")"; }
