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

run_on_headless_desktop wine build/bin/hook_bench.exe "$@"
