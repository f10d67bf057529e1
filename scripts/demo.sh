#!/usr/bin/env bash
# The demo: installs what is missing, builds, starts a headless X server and
# takes the sample host through a tour with real input (samples/host/tour.sh).
# Prints what the host logged during each step of the tour and saves a
# screenshot of the host window, with its log, to build/demo/host.png.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
ensure_packages imagemagick
prepare_wine_run

out=$ROOT/build/demo
rm -rf "$out"
mkdir -p "$out"
status=0
run_on_headless_desktop bash samples/host/tour.sh build "$out" "$out/host.png" || status=$?

echo
echo "What the sample host received during the tour:"
echo
cat "$out/transcript.txt"
echo
echo "Screenshot of the host window: $out/host.png"
exit $status
