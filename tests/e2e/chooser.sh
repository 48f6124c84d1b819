#!/usr/bin/env bash
# Browse opens the file chooser in the folder of the path in the field, with its file selected, so
# Enter alone confirms it: Qt's own chooser, the GTK one where Qt's GTK platform theme is asked
# for, and Qt's own again where the desktop portal's would be taken (it cannot be told where to
# start). A portal of the test's own runs on a private session bus and would answer Cancel, so a
# request to it shows. The split that follows cuts the file the chooser gave.
if [ -z "${SUNDREL_E2E_PRIVATE_BUS:-}" ]; then
  command -v dbus-run-session >/dev/null || { echo "SKIP: dbus-run-session is not installed"; exit 77; }
  SUNDREL_E2E_PRIVATE_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/lib.bash"
e2e_require xprop
dialog="  Sun Drel    Split files by size "
# platform theme asked for | the window role of the chooser that opens (none: Qt's own)
themes=("none:" "gtk3:GtkFileChooserDialog" "xdgdesktopportal:")
for plugin in libqgtk3.so:qt6-gtk-platformtheme libqxdgdesktopportal.so:qt6-xdgdesktopportal-platformtheme; do
  [ -n "$(find /usr/lib -path '*qt6/plugins/platformthemes/*' -name "${plugin%%:*}" 2>/dev/null)" ] ||
    e2e_skip "Qt's platform theme ${plugin%%:*} is not installed (${plugin#*:})"
done

e2e_start_display
export NO_AT_BRIDGE=1
/usr/bin/python3 "$E2E_HOME/portal.py" >"$E2E_DIR/portal.log" 2>&1 &
E2E_PIDS+=($!)
portal_ready() { e2e_alive "the test's portal" "$E2E_DIR/portal.log" && grep -q ready "$E2E_DIR/portal.log"; }
e2e_until 10 portal_ready || e2e_fail "the test's portal did not start within 10s"
for row in "${themes[@]}"; do
  theme=${row%%:*} role=${row#*:}
  folder="$E2E_DIR/$theme folder"
  mkdir -p "$folder"
  for name in a.bin b.bin c.bin; do head -c 100003 /dev/urandom >"$folder/$name"; done
  if [ "$theme" = none ]; then unset QT_QPA_PLATFORMTHEME; else export QT_QPA_PLATFORMTHEME=$theme; fi
  e2e_start_sundrel --split-by-size "$folder/b.bin" >/dev/null
  opened=$(e2e_wait_window "$dialog" none "$SUNDREL_PID")
  e2e_key alt+b
  chooser=$(e2e_wait_window "Open" "$opened")
  shown=$(xprop -id "$chooser" WM_WINDOW_ROLE)
  [[ $shown == *"\"$role\""* || ( -z $role && $shown == *"not found"* ) ]] ||
    e2e_fail "with theme $theme the chooser is $shown, expected role \"$role\""
  # A chooser lists the folder in the background: Enter confirms once the file is selected.
  for try in $(seq 1 10); do
    xdotool key Return
    chooser_gone() { ! xdotool search --onlyvisible --name '^Open$' >/dev/null 2>&1; }
    e2e_until 2 chooser_gone && break
    [ "$try" -lt 10 ] || e2e_fail "with theme $theme Enter did not confirm a file in the chooser"
  done
  e2e_wait_window "$dialog" >/dev/null
  e2e_split_by_size 40000
  e2e_expect_segments "$folder/b.bin" 40000 60003
  ! grep -q File "$E2E_DIR/portal.log" || e2e_fail "with theme $theme the portal's chooser was asked"
  e2e_leave "$dialog"
done
e2e_pass
