#!/usr/bin/env bash
# Builds everything and runs the benchmarks under 32-bit Wine on a headless
# X server, with xdotool for real input. Prints one table; takes a few
# minutes. `scripts/bench.sh quick` runs fewer rounds, to try the benchmark.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
prepare_wine_run

run_on_headless_desktop wine build/bin/hook_bench.exe "$@"
