# Steps shared by the two split tests: one split driven through the keyboard only, and the check
# of what it left on disk. Source after lib.bash; it is not a test itself.

# The whole test: a random source of 100003 bytes, the split through the keyboard, the segments
# checked against the expected lengths, then Esc out of the dialog and the program (status 0).
e2e_split_test() {
  local open_key=$1 dialog=$2 amount=$3 caption=$4
  shift 4
  local source_file="$E2E_DIR/data file.bin"
  head -c 100003 /dev/urandom >"$source_file"
  e2e_start_display
  e2e_start_sundrel >/dev/null
  e2e_split_by_keyboard "$open_key" "$dialog" "$source_file" "$amount" "$caption"
  e2e_expect_segments "$source_file" "$@"
  e2e_close_dialog_and_exit "$dialog"
  e2e_pass
}

# Opens the dialog by its mnemonic in the main window, types the path into the path field and the
# amount into the field of "(2) &Enter ...", presses "Split &File !" by its mnemonic, waits for the
# message box with that caption, dismisses it with Enter, and leaves the dialog open.
e2e_split_by_keyboard() {
  local open_key=$1 dialog=$2 path=$3 amount=$4 caption=$5
  e2e_key "$open_key"
  e2e_wait_window "$dialog" >/dev/null
  e2e_key ctrl+a
  e2e_type "$path"
  e2e_key alt+e ctrl+a
  e2e_type "$amount"
  e2e_key alt+f
  e2e_wait_window "$caption" >/dev/null
  e2e_key Return
  e2e_wait_gone "$caption"
  e2e_wait_window "$dialog" >/dev/null
}

# Checks that base1, base2, ... have exactly the given lengths, that no further number exists, and
# that the segments in order make up the source byte for byte.
e2e_expect_segments() {
  local base=$1 k=0 length
  shift
  for length in "$@"; do
    k=$((k + 1))
    [ -f "$base$k" ] || e2e_fail "segment $k was not written"
    [ "$(stat -c %s "$base$k")" = "$length" ] ||
      e2e_fail "segment $k holds $(stat -c %s "$base$k") bytes, expected $length"
  done
  [ ! -e "$base$((k + 1))" ] || e2e_fail "a segment $((k + 1)) was written"
  for k in $(seq 1 $#); do cat "$base$k"; done | cmp -s - "$base" ||
    e2e_fail "the segments do not make up the source"
}

# Closes the dialog with Esc, then the main window, and expects status 0.
e2e_close_dialog_and_exit() {
  local dialog=$1
  e2e_key Escape
  e2e_wait_gone "$dialog"
  e2e_wait_window " Sun Drel " >/dev/null
  e2e_key Escape
  e2e_wait_exit 0
}
