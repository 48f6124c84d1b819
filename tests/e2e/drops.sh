#!/usr/bin/env bash
# Files dropped on a path field with real XDND drags, from a drag source of the test's own: one
# that offers the URI list alone (as Qt, KDE and GTK 3 file managers do) and one that offers it
# with plain UTF-8 text (as GTK 4 and GNOME Files do). The field that already held a path takes
# the dropped file's decoded path whole, the dialog comes to the front and takes the keys, and
# the split that follows cuts the dropped file.
source "$(dirname "$0")/lib.bash"
/usr/bin/python3 -c 'import gi; gi.require_version("Gtk", "3.0")' 2>/dev/null ||
  e2e_skip "GTK 3 for Python is not installed (python3-gi, gir1.2-gtk-3.0)"
dialog="  Sun Drel    Split files by size "

# Drags from the middle of the drag source to the middle of the dialog's path field (17, 19, 210,
# 12 of 280 by 127 dialog units), in small steps as a hand would.
drag_to_path_field() {
  local offer=$1 file=$2 WIDTH HEIGHT X Y SCREEN WINDOW
  /usr/bin/python3 "$E2E_HOME/dragsource.py" "$offer" "$file" >"$E2E_DIR/source.log" 2>&1 &
  E2E_PIDS+=($!)
  local source
  source=$(e2e_wait_window "drag source")
  eval "$(xdotool getwindowgeometry --shell "$source")"
  local from_x=$((X + WIDTH / 2)) from_y=$((Y + HEIGHT / 2))
  eval "$(xdotool getwindowgeometry --shell "$opened")"
  local to_x=$((X + WIDTH * 122 / 280)) to_y=$((Y + HEIGHT * 25 / 127)) step
  xdotool mousemove --sync "$from_x" "$from_y" mousedown 1
  for step in $(seq 1 20); do
    xdotool mousemove --sync $((from_x + (to_x - from_x) * step / 20)) $((from_y + (to_y - from_y) * step / 20))
    sleep 0.03
  done
  sleep 0.3
  xdotool mousemove --sync $((to_x + 2)) "$to_y"
  sleep 0.3
  xdotool mouseup 1
  dropped() { grep -q "drag ended" "$E2E_DIR/source.log"; }
  e2e_until 10 dropped || e2e_fail "the drag from the $offer source did not end within 10s"
}

mkdir -p "$E2E_DIR/a folder" "$E2E_DIR/été"
old="$E2E_DIR/old.mp4" qt_style="$E2E_DIR/a folder/small #1.dat" gtk4_style="$E2E_DIR/été/b%20c.bin"
for file in "$old" "$qt_style" "$gtk4_style"; do head -c 100003 /dev/urandom >"$file"; done

e2e_start_display
e2e_start_sundrel --split-by-size "$old" >/dev/null
opened=$(e2e_wait_window "$dialog" none "$SUNDREL_PID")
for drop in "uri-list:$qt_style" "uri-list+text:$gtk4_style"; do
  drag_to_path_field "${drop%%:*}" "${drop#*:}"
  # The keys go to the window that has the focus: the drag source had it, so the dialog has it
  # only if the drop brought it to the front.
  e2e_split_by_size 40000
  kill "${E2E_PIDS[-1]}"
  e2e_wait_gone "drag source"
  e2e_wait_window "$dialog" >/dev/null
  e2e_expect_segments "${drop#*:}" 40000 60003
done
[ ! -e "${old}1" ] || e2e_fail "the path held before the drop was split"
e2e_leave "$dialog"
e2e_pass
