#!/usr/bin/env bash
# Builds everything and runs the benchmarks under 32-bit Wine on a headless
# X server, with xdotool for real input. Prints one table; takes a few
# minutes. `scripts/bench.sh quick` runs fewer rounds, to try the benchmark.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
ensure_build_tools
ensure_wine_tools
build_all
prepare_wine

# A fresh wineserver: no earlier process holds the libraries or their blocks.
wineserver -k 2>/dev/null || true
cd "$ROOT"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineserver -p
  wine build/bin/test_helper.exe window warm-up 0 0 0 1 1 pump 200 >/dev/null 2>&1 </dev/null
  wine build/bin/hook_bench.exe "$@"
  status=$?
  wineserver -k
  exit $status
' bench "$@"
