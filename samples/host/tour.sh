#!/usr/bin/env bash
# A tour of the sample host with real input: starts it, clicks inside and
# outside its guard window, types keys in and out of disable mode, turns the
# wheel, presses function keys with and without modifiers, has another
# program raise a window event, and closes it. Writes what the host logged
# during each step to OUTPUT_DIR/transcript.txt: a "== step" line, then the
# host's log lines of that step.
#
# Usage: tour.sh BUILD_DIR OUTPUT_DIR [SCREENSHOT.png]
# Needs an X display with no window manager (Xvfb), xdotool, and wine with
# WINEPREFIX set and a wineserver running; SCREENSHOT needs ImageMagick.
#
# expected_tour.txt beside this script names the steps and the lines each
# should bring. A step that should bring lines lasts until they are there
# (or 15 seconds have passed); a step that should bring none lasts half a
# second, so that anything it wrongly brings shows up under its own name.
# Exits 1, showing the difference, when the transcript without its
# timestamps differs from expected_tour.txt.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
out=$2
screenshot=${3:-}
expected=$here/expected_tour.txt
mkdir -p "$out"
log=$out/host-log.txt
transcript=$out/transcript.txt
: >"$transcript"

# Where things are in the host's client area (see host_window.cpp).
DISABLE_SWITCH="84 62"
HOST_MODE_SWITCH="84 90"
INSIDE_GUARD="760 60"
ON_THE_LOG="450 400"

# ---- expectations ----------------------------------------------------------
mapfile -t titles < <(sed -n 's/^== //p' "$expected")
mapfile -t counts < <(awk '/^#/ || /^$/ {next} /^== / {if (n++) print c; c = 0; next} {c++} END {print c}' "$expected")

# ---- the host --------------------------------------------------------------
host_pid=
window=
origin_x=0 # screen position of the host's client area
origin_y=0
stop_host_on_failure() {
  if [ -n "$host_pid" ] && kill -0 "$host_pid" 2>/dev/null; then kill "$host_pid"; fi
}
trap stop_host_on_failure EXIT

logged_lines() { wc -l <"$log"; }
host_running() { kill -0 "$host_pid" 2>/dev/null; }

wait_for_lines() { # wait_for_lines COUNT
  local deadline=$((SECONDS + 15))
  while [ "$(logged_lines)" -lt "$1" ] && host_running && [ $SECONDS -lt $deadline ]; do sleep 0.05; done
}

wait_for_exit() {
  local deadline=$((SECONDS + 30))
  while host_running && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
}

start_host() {
  wine "$build/bin/sample_host.exe" --log-stdout >"$log" 2>/dev/null </dev/null &
  host_pid=$!
  window=$(timeout 30 xdotool search --sync --name '^quarvo and pavrik sample host$' | head -1) || true
  if [ -z "$window" ]; then
    echo "tour.sh: the sample host shows no window:" >&2
    cat "$log" >&2
    exit 1
  fi
  xdotool windowfocus --sync "$window"
  eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^[XY]=')"
  origin_x=$X origin_y=$Y
}

# ---- input -------------------------------------------------------------------
# Positions are client coordinates "X Y". A move with --sync to where the
# pointer is already would wait for motion that never comes.
move_to() {
  local x y
  read -r x y <<<"$1"
  x=$((origin_x + x)) y=$((origin_y + y))
  eval "$(xdotool getmouselocation --shell | grep -E '^[XY]=')"
  if [ "$X $Y" != "$x $y" ]; then xdotool mousemove --sync "$x" "$y"; fi
}
click_at() { move_to "$1"; xdotool click 1; }
wheel_at() { move_to "$1"; xdotool click "$([ "$2" = up ] && echo 4 || echo 5)"; } # wheel_at "X Y" up|down
keys() { for key in "$@"; do xdotool key "$key"; sleep 0.1; done; }
# A modifier held while a key is pressed, one action at a time: the
# function-key hook asks for the modifier's state when the key arrives.
with_modifier() { # with_modifier MODIFIER KEY
  xdotool keydown "$1"; sleep 0.1; xdotool key "$2"; sleep 0.1; xdotool keyup "$1"
}
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; } # hold KEY SECONDS
# A foreground-change event raised by another program, on a hidden window of
# its own (so that it changes no activation itself).
raise_foreground_event() {
  wine "$build/bin/test_helper.exe" hidden-window tour-event notify 3 >/dev/null 2>&1 </dev/null
}
close_host() { xdotool key alt+F4; wait_for_exit; }

# ---- steps -------------------------------------------------------------------
step_number=0
seen=0
step() { # step TITLE COMMAND...
  local title=$1 want=${counts[$step_number]:-0}
  shift
  if [ "${titles[$step_number]:-}" != "$title" ]; then
    echo "tour.sh: step $((step_number + 1)) is \"$title\", but expected_tour.txt names \"${titles[$step_number]:-}\"" >&2
  fi
  echo "== $title" >>"$transcript"
  "$@"
  if [ "$want" -eq 0 ]; then sleep 0.5; else wait_for_lines $((seen + want)); fi
  local now
  now=$(logged_lines)
  if [ "$now" -gt "$seen" ]; then sed -n "$((seen + 1)),${now}p" "$log" | tr -d '\r' >>"$transcript"; fi
  seen=$now
  step_number=$((step_number + 1))
}

step "Start the sample host" start_host
step "Press F5" keys F5
step "Hold F6 for a second (it auto-repeats)" hold F6 1
step "Press Ctrl+F5 and Shift+F12 (passed on to the focused window)" eval 'with_modifier ctrl F5; with_modifier shift F12'
step "Type a" keys a
step "Click inside the guard window" click_at "$INSIDE_GUARD"
step "Click the log, outside the guard window" click_at "$ON_THE_LOG"
step "Turn the wheel one notch over the log" wheel_at "$ON_THE_LOG" up
step "Another program raises a foreground event" raise_foreground_event
step "Switch disable mode on (the switch lies inside the guard window)" click_at "$DISABLE_SWITCH"
step "Click inside the guard window" click_at "$INSIDE_GUARD"
step "Click the log, outside the guard window" click_at "$ON_THE_LOG"
step "Type a" keys a
step "Press F5, Enter and Left (allowed keys)" keys F5 Return Left
step "Press Ctrl+F5 (Ctrl is not an allowed key)" with_modifier ctrl F5
step "Turn the wheel one notch up and one down over the log" eval 'wheel_at "$ON_THE_LOG" up; wheel_at "$ON_THE_LOG" down'
step "Another program raises a foreground event" raise_foreground_event
step "Switch hostMode to 310" click_at "$HOST_MODE_SWITCH"
step "Another program raises a foreground event (muted)" raise_foreground_event
step "Switch disable mode off" click_at "$DISABLE_SWITCH"
step "Another program raises a foreground event (hostMode 310 alone mutes nothing)" raise_foreground_event
step "Press F12" keys F12
if [ -n "$screenshot" ]; then import -window "$window" "$screenshot"; fi
step "Close the host with Alt+F4 (passed on to the system)" close_host

if ! diff -u --label expected_tour.txt --label transcript <(grep -v '^#' "$expected") \
  <(sed -E 's/^[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{3}  //' "$transcript"); then
  echo "tour.sh: the host's log differs from expected_tour.txt (above)" >&2
  exit 1
fi
