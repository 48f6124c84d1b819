#!/usr/bin/env bash
# Join under a real X server, through the keyboard only: a set of 12 segments (names up to ...12)
# is joined from its first segment, the result checked on disk, then Esc out with status 0.
source "$(dirname "$0")/lib.bash"

dialog="Sun Drel   Join Split Segments"
base="$E2E_DIR/holiday photos.tar"
for k in $(seq 1 12); do
  head -c $((4096 * k + k)) /dev/urandom >"$base$k"
done
for k in $(seq 1 12); do cat "$base$k"; done >"$E2E_DIR/expected"
segments_before=$(cd "$E2E_DIR" && sha256sum "holiday photos.tar"*)

e2e_start_display
e2e_start_sundrel >/dev/null

e2e_key alt+j
e2e_wait_window "$dialog" >/dev/null
e2e_key ctrl+a
e2e_type "${base}1"
e2e_key alt+j
e2e_wait_window "Sundrel" >/dev/null
e2e_key Return
e2e_wait_gone "Sundrel"
e2e_wait_window "$dialog" >/dev/null

[ -f "$base" ] || e2e_fail "the joined file was not written"
cmp -s "$base" "$E2E_DIR/expected" || e2e_fail "the joined file is not the 12 segments in order"
[ "$(cd "$E2E_DIR" && sha256sum "holiday photos.tar"[0-9]*)" = "$segments_before" ] ||
  e2e_fail "the segments changed"

e2e_key Escape
e2e_wait_gone "$dialog"
e2e_wait_window " Sun Drel " >/dev/null
e2e_key Escape
e2e_wait_exit 0
e2e_pass
