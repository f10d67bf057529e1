#!/usr/bin/env bash
# Builds everything and runs the tests: real DLLs under 32-bit Wine on a
# headless X server, with xdotool for real keyboard and mouse input.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
prepare_wine_run

# One wineserver for the whole run keeps program start-up quick.
run_on_headless_desktop ctest --preset mingw "$@"
