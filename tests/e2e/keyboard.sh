#!/usr/bin/env bash
# Split by number, split by size and join under a real X server, through the keyboard only, each
# result checked on disk: the last segment takes the remainder, and a set of 12 segments (names up
# to ...12) joins from its first one without changing it. Then Esc out with status 0.
source "$(dirname "$0")/lib.bash"

# Opens a dialog by its mnemonic, types the path, then the amount into the field of "(2) &Enter
# ...", presses the dialog's action key, dismisses the message box with that caption by Enter and
# closes the dialog with Esc.
operate() {
  local open_key=$1 dialog=$2 path=$3 amount=$4 action=$5 caption=$6
  e2e_key "$open_key"
  e2e_wait_window "$dialog" >/dev/null
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
  e2e_key Escape
  e2e_wait_gone "$dialog"
  e2e_wait_window " Sun Drel " >/dev/null
}

by_number="$E2E_DIR/by number.bin" by_size="$E2E_DIR/by size.bin" parts="$E2E_DIR/holiday photos.tar"
head -c 100003 /dev/urandom >"$by_number"
cp "$by_number" "$by_size"
for k in $(seq 1 12); do head -c $((4096 * k + k)) /dev/urandom >"$parts$k"; done
for k in $(seq 1 12); do cat "$parts$k"; done >"$E2E_DIR/expected"
segments_before=$(cd "$E2E_DIR" && sha256sum "holiday photos.tar"*)

e2e_start_display
e2e_start_sundrel >/dev/null
operate alt+n "  Sun Drel    Split Files By Number " "$by_number" 3 alt+f "Sun Drel - split by number "
e2e_expect_segments "$by_number" 33334 33334 33335
operate alt+s "  Sun Drel    Split files by size " "$by_size" 40000 alt+f "Sun Drel - split by size "
e2e_expect_segments "$by_size" 40000 60003
operate alt+j "Sun Drel   Join Split Segments" "${parts}1" "" alt+j "Sundrel"
cmp -s "$parts" "$E2E_DIR/expected" || e2e_fail "the joined file is not the 12 segments in order"
[ "$(cd "$E2E_DIR" && sha256sum "holiday photos.tar"[0-9]*)" = "$segments_before" ] ||
  e2e_fail "the segments changed"
e2e_key Escape
e2e_wait_exit 0
e2e_pass
