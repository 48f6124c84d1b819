#!/usr/bin/env bash
# Split by size under a real X server, through the keyboard only: 100003 bytes by 40000 gives two
# segments, the last one taking the remainder.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/split_steps.bash"

e2e_split_test alt+s "  Sun Drel    Split files by size " 40000 "Sun Drel - split by size " \
  40000 60003
