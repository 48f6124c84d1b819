#!/usr/bin/env bash
# Starting Sundrel from a terminal and from a file manager. --help and --version answer on
# standard output without a display; a mistake, the toolkit's own options included, is reported on
# standard error with status 2 and opens nothing. The installed desktop entry, launched by GIO
# with a file as a file manager's "Open With" does, opens the dialog that fits the file with the
# file in its path field, and the user's key does the rest; each of its actions opens its dialog.
source "$(dirname "$0")/lib.bash"
e2e_require gio
entry="$(dirname "$SUNDREL")/packaging/sundrel.desktop"
[ -f "$entry" ] || e2e_fail "the desktop entry was not built: $entry"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}

# arguments | status | what standard output holds | what standard error holds
answers=(
  "--help|0|Usage: Sundrel [options] [FILE]|"
  "--version|0|Sundrel 1.2.0.1|"
  "-h|0|--split-to-removable|"
  "--bogus|2||Sundrel: Unknown option 'bogus'."
  "-platform offscreen|2||Sundrel: Unknown option 'platform'."
  "--join --split-by-size x|2||Sundrel: name one operation only."
  "a b|2||Sundrel: give one file only."
)
for row in "${answers[@]}"; do
  IFS='|' read -r arguments status out err <<<"$row"
  # shellcheck disable=SC2086 # the arguments are split on purpose
  env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$SUNDREL" $arguments >"$E2E_DIR/out" 2>"$E2E_DIR/err" &&
    got=0 || got=$?
  [ "$got" = "$status" ] || e2e_fail "Sundrel $arguments ended with $got, expected $status"
  for stream in out err; do
    expected=${!stream}
    if [ -z "$expected" ]; then
      [ ! -s "$E2E_DIR/$stream" ] || e2e_fail "Sundrel $arguments wrote to std$stream: $(cat "$E2E_DIR/$stream")"
    else
      grep -qF -- "$expected" "$E2E_DIR/$stream" ||
        e2e_fail "Sundrel $arguments: std$stream lacks \"$expected\": $(cat "$E2E_DIR/$stream")"
    fi
  done
done

# The entry's Exec finds Sundrel on the PATH, as an installed one is.
mkdir -p "$E2E_DIR/bin"
ln -s "$(realpath "$SUNDREL")" "$E2E_DIR/bin/Sundrel"
export PATH="$E2E_DIR/bin:$PATH"
e2e_start_display

# Launches the entry with a file, as a file manager does (GIO starts the program detached from
# this shell), and waits for the dialog of that title; keeps its pid in SUNDREL_PID.
launch_with() {
  gio launch "$entry" "$1" >"$E2E_DIR/gio.log" 2>&1 || e2e_fail "gio launch failed: $(cat "$E2E_DIR/gio.log")"
  local id
  id=$(e2e_wait_window "$2")
  SUNDREL_PID=$(xdotool getwindowpid "$id")
  E2E_PIDS+=("$SUNDREL_PID")
}

# Leaves the dialog and the main window by Esc and waits until that Sundrel has ended.
leave_launched() {
  e2e_key Escape
  e2e_wait_gone "$1"
  e2e_wait_window " Sun Drel " none "$SUNDREL_PID" >/dev/null
  e2e_key Escape
  ended() { ! kill -0 "$SUNDREL_PID" 2>/dev/null; }
  e2e_until 20 ended || e2e_fail "Sundrel did not end within 20s"
}

size_dialog="  Sun Drel    Split files by size " join_dialog="Sun Drel   Join Split Segments"
head -c 100003 /dev/urandom >"$E2E_DIR/movie clip.mp4"
launch_with "$E2E_DIR/movie clip.mp4" "$size_dialog"
e2e_split_by_size 40000
e2e_expect_segments "$E2E_DIR/movie clip.mp4" 40000 60003
mv "$E2E_DIR/movie clip.mp4" "$E2E_DIR/as split"
leave_launched "$size_dialog"

# Segment 1 of a set opens the join, which rebuilds the file.
launch_with "$E2E_DIR/movie clip.mp41" "$join_dialog"
e2e_key alt+j
e2e_wait_window "Sundrel" >/dev/null
e2e_key Return
e2e_wait_gone "Sundrel"
cmp -s "$E2E_DIR/movie clip.mp4" "$E2E_DIR/as split" || e2e_fail "the joined file is not the file that was split"
leave_launched "$join_dialog"

# The launcher's actions, as a desktop runs them: without a file.
actions=(
  "split-by-size:$size_dialog"
  "split-by-number:  Sun Drel    Split Files By Number "
  "split-to-removable:Sun drel - Split files to floppies"
  "join:$join_dialog"
)
for row in "${actions[@]}"; do
  action=${row%%:*} title=${row#*:}
  command=$(sed -n "/^\[Desktop Action $action\]/,/^\[/s/^Exec=//p" "$entry")
  [ "$command" = "Sundrel --$action %f" ] || e2e_fail "action $action runs \"$command\""
  # shellcheck disable=SC2086 # the command line is split as the desktop splits it
  ${command% %f} >"$E2E_DIR/sundrel.log" 2>&1 &
  E2E_PIDS+=($!)
  SUNDREL_PID=$!
  e2e_wait_window "$title" none "$SUNDREL_PID" >/dev/null
  leave_launched "$title"
done
e2e_pass
