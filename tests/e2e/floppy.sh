#!/usr/bin/env bash
# Split to floppies under a real X server, through the keyboard only. Drive A: is a fresh 1440 KiB
# tmpfs at the first prompt, swapped for another at the second. The two segments joined must be
# the source.
source "$(dirname "$0")/lib.bash"
e2e_floppy_drive "$E2E_DIR/drive"
drive=$SUNDREL_DRIVE_A kept="$E2E_DIR/kept" source_file="$E2E_DIR/data.bin"
mkdir "$kept"
eject() { cp -a "$drive"/. "$kept"/ && umount "$drive" || e2e_fail "the disk could not be taken out"; }
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
e2e_insert_floppy || e2e_fail "the second disk could not be put in"
e2e_key Return
e2e_wait_window "Sun Drel - split to floppies" >/dev/null
eject
[ -z "$(ls -A "$drive")" ] || e2e_fail "something was written to drive A: without a disk in it"
e2e_key Return
e2e_wait_gone "Sun Drel - split to floppies"
[ "$(height "$dialog")" = "$collapsed" ] || e2e_fail "the dialog did not collapse again"
cp "$source_file" "$kept/data.bin"
e2e_expect_segments "$kept/data.bin" 1474560 525440
e2e_leave "Sun drel - Split files to floppies"
e2e_pass
