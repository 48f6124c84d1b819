#!/usr/bin/env bash
# Sundrel on an X desktop, through the keyboard only. What taskbars and docks read: the main window
# is a normal window of the class its desktop entry names, transient for nothing and modal to
# nothing; every window it opens is a modal dialog transient for the window that opened it, and
# the main window takes no click meanwhile. The three operations, each result checked on disk.
# A renamed copy captions its boxes after its file even once an upgrade has replaced that file
# under it.
source "$(dirname "$0")/lib.bash"
e2e_require xprop
desktop_entry="$(dirname "$0")/../../packaging/sundrel.desktop.in"

# Fails unless the window's property, as xprop prints it, matches the glob pattern.
expect_property() {
  local id=$1 name=$2 pattern=$3 shown
  shown=$(xprop -id "$id" "$name")
  # shellcheck disable=SC2053 # the pattern is a glob on purpose
  [[ $shown == $pattern ]] || e2e_fail "window $4: expected $name like '$pattern', xprop shows '$shown'"
}

expect_modal_dialog_of() {
  local id=$1 owner=$2 title=$3
  expect_property "$id" _NET_WM_WINDOW_TYPE "*= _NET_WM_WINDOW_TYPE_DIALOG*" "$title"
  expect_property "$id" _NET_WM_STATE "*_NET_WM_STATE_MODAL*" "$title"
  expect_property "$id" WM_TRANSIENT_FOR "*window id # $(printf '0x%x' "$owner")" "$title"
}

# Opens a dialog of the main window by its mnemonic, checks that it is modal to it and keeps its
# id in `opened`.
open_dialog() {
  e2e_key "$1"
  opened=$(e2e_wait_window "$2" "$main")
  expect_modal_dialog_of "$opened" "$main" "$2"
}

# Closes the dialog of that title with Esc, back to the main window.
close_dialog() {
  e2e_key Escape
  e2e_wait_gone "$1"
  e2e_wait_window " Sun Drel " >/dev/null
}

# Opens a dialog by its mnemonic, types the path, then the amount into the field of "(2) &Enter
# ...", presses the dialog's action key, dismisses the message box with that caption by Enter and
# closes the dialog with Esc.
operate() {
  local key=$1 dialog=$2 path=$3 amount=$4 action=$5 caption=$6
  open_dialog "$key" "$dialog"
  e2e_key ctrl+a
  e2e_type "$path"
  if [ -n "$amount" ]; then
    e2e_key alt+e ctrl+a
    e2e_type "$amount"
  fi
  e2e_key "$action"
  e2e_wait_window "$caption" >/dev/null
  e2e_key Return
  e2e_wait_gone "$caption"
  e2e_wait_window "$dialog" >/dev/null
  close_dialog "$dialog"
}

# Clicks the main window where its Exit button lies (18, 127, 79, 16 of 116 by 159 dialog units),
# failing when another window covers that place.
click_exit() {
  local WIDTH HEIGHT X Y SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$main")"
  xdotool mousemove --window "$main" $((WIDTH * 57 / 116)) $((HEIGHT * 135 / 159))
  eval "$(xdotool getmouselocation --shell)"
  [ "$WINDOW" = "$main" ] || e2e_fail "the main window's Exit button lies under window $WINDOW"
  xdotool click 1
  sleep 0.3
}

by_number="$E2E_DIR/by number.bin" by_size="$E2E_DIR/by size.bin" parts="$E2E_DIR/holiday photos.tar"
head -c 100003 /dev/urandom >"$by_number"
cp "$by_number" "$by_size"
for k in $(seq 1 12); do head -c $((4096 * k + k)) /dev/urandom >"$parts$k"; done
for k in $(seq 1 12); do cat "$parts$k"; done >"$E2E_DIR/expected"
segments_before=$(cd "$E2E_DIR" && sha256sum "holiday photos.tar"*)

e2e_start_display
e2e_start_sundrel >/dev/null
first=$SUNDREL_PID
main=$(e2e_wait_window " Sun Drel ")
class=$(sed -n 's/^StartupWMClass=//p' "$desktop_entry")
[ -n "$class" ] || e2e_fail "the desktop entry names no StartupWMClass"
expect_property "$main" WM_CLASS "WM_CLASS(STRING) = \"*\", \"$class\"" main
expect_property "$main" _NET_WM_WINDOW_TYPE "_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_NORMAL" main
expect_property "$main" WM_TRANSIENT_FOR "WM_TRANSIENT_FOR:  not found." main
[[ $(xprop -id "$main" _NET_WM_STATE) != *MODAL* ]] || e2e_fail "the main window is announced as modal"

# The last segment takes the remainder; a set of 12 segments (names up to ...12) joins from its
# first one without changing it.
operate alt+n "  Sun Drel    Split Files By Number " "$by_number" 3 alt+f "Sun Drel - split by number "
e2e_expect_segments "$by_number" 33334 33334 33335
operate alt+s "  Sun Drel    Split files by size " "$by_size" 40000 alt+f "Sun Drel - split by size "
e2e_expect_segments "$by_size" 40000 60003
operate alt+j "Sun Drel   Join Split Segments" "${parts}1" "" alt+j "Sundrel"
cmp -s "$parts" "$E2E_DIR/expected" || e2e_fail "the joined file is not the 12 segments in order"
[ "$(cd "$E2E_DIR" && sha256sum "holiday photos.tar"[0-9]*)" = "$segments_before" ] ||
  e2e_fail "the segments changed"
for dialog in "alt+f:Sun drel - Split files to floppies" "alt+a:About Sundrel"; do
  open_dialog "${dialog%%:*}" "${dialog#*:}"
  close_dialog "${dialog#*:}"
done

# A click on the main window's Exit button while a dialog is up ends nothing. The file chooser
# belongs to the dialog that asked for it.
open_dialog alt+j "Sun Drel   Join Split Segments"
click_exit
kill -0 "$SUNDREL_PID" 2>/dev/null || e2e_fail "a click on the main window under a dialog ended Sundrel"
e2e_wait_window "Sun Drel   Join Split Segments" >/dev/null
e2e_key alt+b
chooser=$(e2e_wait_window "Open" "$opened")
expect_modal_dialog_of "$chooser" "$opened" "file chooser"
e2e_key Escape
e2e_wait_gone "Open"
e2e_wait_window "Sun Drel   Join Split Segments" >/dev/null
close_dialog "Sun Drel   Join Split Segments"

# A second program, a renamed copy whose file is replaced once it runs: F1 finds no x.HLP and says
# so in a box captioned with the display name, modal to its main window. Ending it by its Exit
# mnemonic leaves the first running.
cp "$SUNDREL" "$E2E_DIR/x"
SUNDREL="$E2E_DIR/x"
e2e_start_sundrel >/dev/null
cp "$SUNDREL" "$SUNDREL.new"
mv -f "$SUNDREL.new" "$SUNDREL"
second=$(e2e_wait_window " Sun Drel " none "$SUNDREL_PID")
e2e_key F1
box=$(e2e_wait_window "x")
expect_modal_dialog_of "$box" "$second" "message box"
e2e_key Return
e2e_wait_gone "x"
e2e_wait_window " Sun Drel " none "$SUNDREL_PID" >/dev/null
e2e_key alt+x
e2e_wait_exit 0
kill -0 "$first" 2>/dev/null || e2e_fail "ending the second program ended the first"

# With no dialog up, a click on Exit reaches the button.
SUNDREL_PID=$first
click_exit
e2e_wait_exit 0
e2e_pass
