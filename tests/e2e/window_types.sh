#!/usr/bin/env bash
# What taskbars and docks read from Sundrel's windows under a real X server: the main window is a
# normal window of the class its desktop entry names, transient for nothing and modal to nothing;
# every window it opens (the operation dialogs, About, a message box, the file chooser) is a modal
# dialog transient for the window that opened it, and the main window takes no click meanwhile.
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

# Clicks the main window where its Exit button lies (18, 127, 79, 16 of 116 by 159 dialog units).
click_exit() {
  local WIDTH HEIGHT X Y SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$main")"
  xdotool mousemove --window "$main" $((WIDTH * 57 / 116)) $((HEIGHT * 135 / 159)) click 1
  sleep 0.3
}

e2e_start_display
e2e_start_sundrel >/dev/null
main=$(e2e_wait_window " Sun Drel ")
class=$(sed -n 's/^StartupWMClass=//p' "$desktop_entry")
[ -n "$class" ] || e2e_fail "the desktop entry names no StartupWMClass"
expect_property "$main" WM_CLASS "WM_CLASS(STRING) = \"*\", \"$class\"" main
expect_property "$main" _NET_WM_WINDOW_TYPE "_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_NORMAL" main
expect_property "$main" WM_TRANSIENT_FOR "WM_TRANSIENT_FOR:  not found." main
[[ $(xprop -id "$main" _NET_WM_STATE) != *MODAL* ]] || e2e_fail "the main window is announced as modal"

for dialog in "alt+s:  Sun Drel    Split files by size " "alt+n:  Sun Drel    Split Files By Number " \
              "alt+f:Sun drel - Split files to floppies" "alt+j:Sun Drel   Join Split Segments" \
              "alt+a:About Sundrel"; do
  title=${dialog#*:}
  e2e_key "${dialog%%:*}"
  id=$(e2e_wait_window "$title" "$main")
  expect_modal_dialog_of "$id" "$main" "$title"
  e2e_key Escape
  e2e_wait_gone "$title"
  e2e_wait_window " Sun Drel " >/dev/null
done

# No help file lies beside the program: F1 answers with a message box.
e2e_key F1
box=$(e2e_wait_window "$(basename "$SUNDREL")" "$main")
expect_modal_dialog_of "$box" "$main" "message box"
e2e_key Return
e2e_wait_gone "$(basename "$SUNDREL")"

# The file chooser belongs to the dialog that asked for it. Meanwhile a click on the main window's
# Exit button ends nothing.
e2e_wait_window " Sun Drel " >/dev/null
e2e_key alt+j
join=$(e2e_wait_window "Sun Drel   Join Split Segments" "$main")
e2e_key alt+b
chooser=$(e2e_wait_window "Open" "$join")
expect_modal_dialog_of "$chooser" "$join" "file chooser"
click_exit
kill -0 "$SUNDREL_PID" 2>/dev/null || e2e_fail "a click on the main window under a dialog ended Sundrel"
e2e_wait_window "Open" >/dev/null
e2e_key Escape
e2e_wait_gone "Open"
e2e_wait_window "Sun Drel   Join Split Segments" >/dev/null
e2e_key Escape
e2e_wait_gone "Sun Drel   Join Split Segments"

# With no dialog up, the same click reaches the button.
click_exit
e2e_wait_exit 0
e2e_pass
