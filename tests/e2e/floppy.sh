#!/usr/bin/env bash
# Split to floppies under a real X server, through the keyboard only. Drive A: is a mount point:
# a fresh 1440 KiB tmpfs is in it at the first prompt, and at the second prompt that disk is taken
# out (unmounted, its files kept aside) and a fresh one put in. The two segments joined must be
# the source. Skips where mounting is not allowed.
source "$(dirname "$0")/lib.bash"

dialog="Sun drel - Split files to floppies"
prompt_caption="Sundrel - split to floppies "
done_caption="Sun Drel - split to floppies"
drive="$E2E_DIR/drive"
kept="$E2E_DIR/kept"
source_file="$E2E_DIR/data.bin"
mkdir -p "$drive" "$kept"

floppy_insert() { mount -t tmpfs -o size=1440k tmpfs "$drive"; }

# Takes the disk out: what it holds is kept aside for the checks at the end.
floppy_eject() {
  cp -a "$drive"/. "$kept"/
  umount "$drive" || e2e_fail "the disk could not be taken out (busy?)"
}

floppy_cleanup() {
  local attempt
  for attempt in 1 2 3; do
    mountpoint -q "$drive" 2>/dev/null || break
    umount "$drive" 2>/dev/null || umount -l "$drive" 2>/dev/null || true
  done
  e2e_cleanup
}
trap floppy_cleanup EXIT

e2e_require mount umount mountpoint
if ! floppy_insert 2>/dev/null; then
  echo "SKIP: mounting a tmpfs is not allowed here"
  exit $E2E_SKIP
fi
export SUNDREL_DRIVE_A="$drive"

# Waits for a box with that title other than the window `previous`; prints its id.
floppy_wait_box() {
  local title=$1 previous=${2:-none} seconds=20 waited id
  for waited in $(seq 1 $((seconds * 20))); do
    id=$(xdotool search --onlyvisible --name "^$(e2e_regex "$title")\$" 2>/dev/null | tail -n 1 || true)
    if [ -n "$id" ] && [ "$id" != "$previous" ]; then
      xdotool windowactivate --sync "$id" >/dev/null 2>&1 || xdotool windowfocus --sync "$id" >/dev/null 2>&1 || true
      sleep 0.2
      echo "$id"
      return 0
    fi
    sleep 0.05
  done
  e2e_fail "no new window titled \"$title\" within ${seconds}s"
}

window_height() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^HEIGHT=//p'; }

# 1474560 bytes fit on a disk: two disks, the second with the remaining 525440.
head -c 2000000 /dev/urandom >"$source_file"

e2e_start_display
e2e_start_sundrel >/dev/null
e2e_key alt+f
dialog_id=$(e2e_wait_window "$dialog")
collapsed=$(window_height "$dialog_id")
e2e_key alt+e ctrl+a
e2e_type "$source_file"
e2e_key alt+s

first=$(floppy_wait_box "$prompt_caption")
expanded=$(window_height "$dialog_id")
[ "$expanded" -gt "$collapsed" ] ||
  e2e_fail "the dialog did not show its animation strip during the split ($collapsed -> $expanded)"
e2e_key Return

second=$(floppy_wait_box "$prompt_caption" "$first")
[ -f "$drive/data.bin1" ] || e2e_fail "the first disk holds no segment at the second prompt"
floppy_eject
floppy_insert || e2e_fail "the second disk could not be put in"
e2e_key Return

floppy_wait_box "$done_caption" >/dev/null
floppy_eject
[ -z "$(ls -A "$drive")" ] || e2e_fail "something was written to drive A: without a disk in it"
e2e_key Return
e2e_wait_gone "$done_caption"
dialog_id=$(e2e_wait_window "$dialog")
[ "$(window_height "$dialog_id")" = "$collapsed" ] || e2e_fail "the dialog did not collapse again"

[ "$(stat -c %s "$kept/data.bin1")" = 1474560 ] || e2e_fail "data.bin1 holds $(stat -c %s "$kept/data.bin1") bytes"
[ "$(stat -c %s "$kept/data.bin2")" = 525440 ] || e2e_fail "data.bin2 holds $(stat -c %s "$kept/data.bin2") bytes"
[ ! -e "$kept/data.bin3" ] || e2e_fail "a third segment was written"
cat "$kept/data.bin1" "$kept/data.bin2" | cmp -s - "$source_file" ||
  e2e_fail "the two segments joined are not the source"

e2e_key Escape
e2e_wait_gone "$dialog"
e2e_wait_window " Sun Drel " >/dev/null
e2e_key Escape
e2e_wait_exit 0
e2e_pass
