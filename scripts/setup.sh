# Shared set-up for the build and test commands; sourced, not run.
# Installs what is missing from Debian's archive, builds with the MinGW-w64
# preset and prepares a private 32-bit Wine prefix inside build/.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export DEBIAN_FRONTEND=noninteractive

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# ensure_packages PACKAGE... : installs the Debian packages that are missing.
ensure_packages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing ${missing[*]}"
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -qq
  as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

ensure_build_tools() {
  ensure_packages cmake make g++-mingw-w64-i686
}

ensure_wine_tools() {
  ensure_packages wine wine32:i386 xvfb xauth xdotool
}

build_all() {
  cmake --preset mingw -S "$ROOT" >/dev/null
  cmake --build --preset mingw -j "$(nproc)"
}

# A private 32-bit prefix: crashes end the program at once instead of
# starting the debugger, and one test program is told it runs on the older
# Windows family.
prepare_wine() {
  export WINEPREFIX="$ROOT/build/wineprefix" WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/.prepared" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\AppDefaults\quarvo_win98_tests.exe' /v Version /d win98 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.prepared"
  fi
}

# Everything a run under Wine needs: tools, a fresh build and the prefix.
prepare_wine_run() {
  ensure_build_tools
  ensure_wine_tools
  build_all
  prepare_wine
}

# run_on_headless_desktop COMMAND...: runs COMMAND from the project root on a
# fresh Xvfb display with a fresh persistent wineserver, so that no earlier
# process still holds the shared blocks; returns its exit status.
run_on_headless_desktop() {
  wineserver -k 2>/dev/null || true
  cd "$ROOT"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    wineserver -p
    # Start the prefix services and the desktop now, away from the output
    # pipes of the command, which processes that outlive it would hold open.
    wine build/bin/test_helper.exe window warm-up 0 0 0 1 1 pump 200 >/dev/null 2>&1 </dev/null
    "$@"
    status=$?
    wineserver -k
    exit $status
  ' headless "$@"
}
