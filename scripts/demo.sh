#!/usr/bin/env bash
# The demo: installs what is missing, builds, starts a headless X server and
# takes the sample host through a tour with real input (samples/host/tour.sh).
# Prints what the host logged during each step of the tour and saves a
# screenshot of the host window, with its log, to build/demo/host.png.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
ensure_build_tools
ensure_wine_tools
ensure_packages imagemagick
build_all
prepare_wine

out=$ROOT/build/demo
rm -rf "$out"
mkdir -p "$out"
cd "$ROOT"
wineserver -k 2>/dev/null || true
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineserver -p
  # Start the prefix services and the desktop before the host.
  wine build/bin/test_helper.exe window warm-up 0 0 0 1 1 pump 200 >/dev/null 2>&1 </dev/null
  bash samples/host/tour.sh build "$1" "$1/host.png"
  status=$?
  wineserver -k
  exit $status
' demo "$out" || status=$?

echo
echo "What the sample host received during the tour:"
echo
cat "$out/transcript.txt"
echo
echo "Screenshot of the host window: $out/host.png"
exit $status
