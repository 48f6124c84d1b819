#!/usr/bin/env bash
# The user's font size, as a KDE session keeps it in kdeglobals: with a 14-point desktop font every
# dialog grows by 14/9 of its size at Qt's own default of 9 points (dialog units follow the font),
# and its proportions stay. No desktop is needed: only the session's variables and a private
# kdeglobals.
source "$(dirname "$0")/lib.bash"
e2e_start_display

# Prints the width and height of the main window and of the Split By Size dialog.
sizes() {
  local WIDTH HEIGHT X Y SCREEN WINDOW main dialog="  Sun Drel    Split files by size "
  e2e_start_sundrel >/dev/null
  main=$(e2e_wait_window " Sun Drel " none "$SUNDREL_PID")
  eval "$(xdotool getwindowgeometry --shell "$main")"
  echo "$WIDTH $HEIGHT"
  e2e_key alt+s
  eval "$(xdotool getwindowgeometry --shell "$(e2e_wait_window "$dialog" "$main")")"
  echo "$WIDTH $HEIGHT"
  e2e_leave "$dialog"
}

# Fails unless `size` is `base` times 14/9, give or take what whole pixels and font metrics allow.
expect_grown() {
  local what=$1 base=$2 size=$3
  [ $((size * 900)) -ge $((base * 1400 * 90 / 100)) ] && [ $((size * 900)) -le $((base * 1400 * 110 / 100)) ] ||
    e2e_fail "$what: $size pixels with a 14-point desktop font, $base with none (expected about 14/9)"
}

read -r -d '' toolkit_sizes < <(sizes) || true
mkdir -p "$E2E_DIR/config"
printf '[General]\nfont=DejaVu Sans,14,-1,5,50,0,0,0,0,0\n' >"$E2E_DIR/config/kdeglobals"
read -r -d '' kde_sizes < <(XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 XDG_CONFIG_HOME="$E2E_DIR/config" sizes) || true
read -r -a before <<<"$(tr '\n' ' ' <<<"$toolkit_sizes")"
read -r -a after <<<"$(tr '\n' ' ' <<<"$kde_sizes")"
[ ${#before[@]} = 4 ] && [ ${#after[@]} = 4 ] || e2e_fail "measured \"${before[*]}\" and \"${after[*]}\""
names=("main window width" "main window height" "dialog width" "dialog height")
echo "sizes at 9 points: ${before[*]}; at 14 points: ${after[*]}"
for i in 0 1 2 3; do expect_grown "${names[$i]}" "${before[$i]}" "${after[$i]}"; done
e2e_pass
