#!/usr/bin/env bash
# Builds everything and runs the tests: real DLLs under 32-bit Wine on a
# headless X server, with xdotool for real keyboard and mouse input.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
ensure_build_tools
ensure_wine_tools
build_all
prepare_wine

# One wineserver for the whole run keeps program start-up quick; a fresh one
# also guarantees that no earlier process still holds the shared blocks.
wineserver -k 2>/dev/null || true
cd "$ROOT"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineserver -p
  # Start the prefix services and the desktop now, away from ctest output
  # pipes, which processes that outlive a test would otherwise hold open.
  wine build/bin/test_helper.exe window warm-up 0 0 0 1 1 pump 200 >/dev/null 2>&1 </dev/null
  ctest --preset mingw "$@"
  status=$?
  wineserver -k
  exit $status
' ctest "$@"
