#!/usr/bin/env bash
# Split by number under a real X server, through the keyboard only: 100003 bytes in 3 segments,
# the last one taking the remainder.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/split_steps.bash"

e2e_split_test alt+n "  Sun Drel    Split Files By Number " 3 "Sun Drel - split by number " \
  33334 33334 33335
