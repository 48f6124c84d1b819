# Steps shared by the end-to-end tests that read and drive Sundrel through the accessibility bus
# (AT-SPI). Source this file instead of lib.bash: it runs the test again inside a private session
# bus (dbus-run-session), so no test ever talks to a desktop's real bus, then sources lib.bash.
# A test then starts a display, atspi_start_bus, e2e_start_sundrel, and drives Sundrel from a Python
# script given to atspi_run with "$SUNDREL_PID" (see atspi_driver.py). Skips when a package is missing.

E2E_SKIP=77
ATSPI_LAUNCHER=/usr/libexec/at-spi-bus-launcher
ATSPI_PYTHON=/usr/bin/python3

atspi_skip() {
  echo "SKIP: $*"
  exit $E2E_SKIP
}

if [ -z "${SUNDREL_E2E_PRIVATE_BUS:-}" ]; then
  command -v dbus-run-session >/dev/null || atspi_skip "dbus-run-session is not installed (dbus-bin)"
  [ -x "$ATSPI_LAUNCHER" ] || atspi_skip "$ATSPI_LAUNCHER is not installed (at-spi2-core)"
  "$ATSPI_PYTHON" -c 'import pyatspi' 2>/dev/null || atspi_skip "pyatspi is not installed (python3-pyatspi)"
  SUNDREL_E2E_PRIVATE_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi

source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

# Starts the accessibility bus on the private session bus, waits until it answers, and makes every
# Sundrel started afterwards publish its widgets there.
atspi_start_bus() {
  local waited
  "$ATSPI_LAUNCHER" --launch-immediately >"$E2E_DIR/atspi.log" 2>&1 &
  E2E_PIDS+=($!)
  for waited in $(seq 1 200); do
    # Asks whether the name is owned, not for the address: asking would start a second launcher.
    if dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'; then
      export QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
      return 0
    fi
    kill -0 "${E2E_PIDS[-1]}" 2>/dev/null || e2e_fail "the AT-SPI bus launcher ended: $(cat "$E2E_DIR/atspi.log")"
    sleep 0.05
  done
  e2e_fail "the AT-SPI bus did not answer within 10s"
}

# Runs a Python script that drives Sundrel through tests/e2e/atspi_driver.py; its arguments follow.
# The script's own waits are bounded; the outer timeout only guards against a blocked bus call.
atspi_run() {
  local script=$1
  shift
  PYTHONPATH="$(dirname "${BASH_SOURCE[0]}")${PYTHONPATH:+:$PYTHONPATH}" PYTHONDONTWRITEBYTECODE=1 \
    timeout --kill-after=5 240 "$ATSPI_PYTHON" "$script" "$@" || e2e_fail "$(basename "$script") failed"
}
