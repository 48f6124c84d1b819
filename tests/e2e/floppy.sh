#!/usr/bin/env bash
# Split to floppies under a real X server, through the keyboard only. Drive A: is a mount point: a
# fresh 1440 KiB tmpfs at the first prompt, swapped for another at the second. The two segments
# joined must be the source. Skips where mounting is not allowed.
source "$(dirname "$0")/lib.bash"
e2e_require mount umount mountpoint
drive="$E2E_DIR/drive" kept="$E2E_DIR/kept" source_file="$E2E_DIR/data.bin"
mkdir -p "$drive" "$kept"
insert() { mount -t tmpfs -o size=1440k tmpfs "$drive"; }
eject() { cp -a "$drive"/. "$kept"/ && umount "$drive" || e2e_fail "the disk could not be taken out"; }
trap 'mountpoint -q "$drive" && umount -l "$drive"; e2e_cleanup' EXIT
insert 2>/dev/null || { echo "SKIP: mounting a tmpfs is not allowed here"; exit $E2E_SKIP; }
export SUNDREL_DRIVE_A="$drive"
height() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^HEIGHT=//p'; }
head -c 2000000 /dev/urandom >"$source_file" # 1474560 bytes fit on a disk: two disks

e2e_start_display
e2e_start_sundrel >/dev/null
e2e_key alt+f
dialog=$(e2e_wait_window "Sun drel - Split files to floppies")
collapsed=$(height "$dialog")
e2e_key alt+e ctrl+a
e2e_type "$source_file"
e2e_key alt+s
first=$(e2e_wait_window "Sundrel - split to floppies ")
[ "$(height "$dialog")" -gt "$collapsed" ] || e2e_fail "the animation strip did not show during the split"
e2e_key Return
e2e_wait_window "Sundrel - split to floppies " "$first" >/dev/null
[ -f "$drive/data.bin1" ] || e2e_fail "the first disk holds no segment at the second prompt"
eject
insert || e2e_fail "the second disk could not be put in"
e2e_key Return
e2e_wait_window "Sun Drel - split to floppies" >/dev/null
eject
[ -z "$(ls -A "$drive")" ] || e2e_fail "something was written to drive A: without a disk in it"
e2e_key Return
e2e_wait_gone "Sun Drel - split to floppies"
[ "$(height "$dialog")" = "$collapsed" ] || e2e_fail "the dialog did not collapse again"
[ "$(stat -c %s "$kept/data.bin1") $(stat -c %s "$kept/data.bin2")" = "1474560 525440" ] &&
  [ ! -e "$kept/data.bin3" ] || e2e_fail "the segments have the wrong sizes"
cat "$kept/data.bin1" "$kept/data.bin2" | cmp -s - "$source_file" || e2e_fail "the segments joined are not the source"
e2e_leave "Sun drel - Split files to floppies"
e2e_pass
