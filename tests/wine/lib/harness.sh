# Shared helpers of the end-to-end scenarios: the real Setup.exe under Wine
# and Xvfb. Source this file from a scenario script run by CTest:
#   source "$(dirname "$0")/../lib/harness.sh"
#   wine_test_begin my-scenario
#   ... set up, run_setup, expect ...
#   wine_test_end
# Every wait is bounded: a hang fails the scenario, never the run.

set -u

HARNESS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
SOURCE_DIR=$(cd "$HARNESS_DIR/../../.." && pwd)
: "${WINBUILD:=$SOURCE_DIR/build/windows}"
: "${WINE_RUNS:=$SOURCE_DIR/build/host/wine-runs}"
: "${WINE_TEMPLATE:=$SOURCE_DIR/build/host/wine-template}"
: "${SETUP_TIMEOUT:=60}"
export WINBUILD
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

HARNESS_FAILURES=0
HARNESS_XVFB_PID=""

# Prints a Windows (Z:) path for a Unix path.
winpath() {
  local p
  p=$(readlink -m "$1")
  printf 'Z:%s' "${p//\//\\}"
}

fail() {
  echo "FAIL: $*" >&2
  HARNESS_FAILURES=$((HARNESS_FAILURES + 1))
}

# The template prefix, made once and shared by every scenario of a run;
# scenarios work on copies of it.
wine_template_ensure() {
  mkdir -p "$(dirname "$WINE_TEMPLATE")"
  (
    flock -w 300 9 || { echo "template lock timed out" >&2; exit 1; }
    [ -f "$WINE_TEMPLATE/.ready" ] && exit 0
    rm -rf "$WINE_TEMPLATE"
    WINEPREFIX="$WINE_TEMPLATE" timeout 180 wineboot -i >/dev/null 2>&1 || { echo "wineboot failed" >&2; exit 1; }
    # Unmanaged windows: no waiting on a window manager that is not there.
    WINEPREFIX="$WINE_TEMPLATE" timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    WINEPREFIX="$WINE_TEMPLATE" timeout 60 wineserver -w
    touch "$WINE_TEMPLATE/.ready"
  ) 9>"$WINE_TEMPLATE.lock"
}

# Own work folder ($WT), own prefix ($WINEPREFIX), own X server ($DISPLAY).
wine_test_begin() {
  # Under CTest the test's own name; by hand, the name given.
  HARNESS_NAME=${WINE_TEST_NAME:-$1}
  wine_template_ensure || { echo "FAIL: no Wine template prefix" >&2; exit 1; }
  WT="$WINE_RUNS/$HARNESS_NAME"
  rm -rf "$WT"
  mkdir -p "$WT"
  export WINEPREFIX="$WT/prefix"
  # Hard links keep the copy instant; the files Wine rewrites are copied.
  cp -al "$WINE_TEMPLATE" "$WINEPREFIX"
  rm -f "$WINEPREFIX"/*.reg "$WINEPREFIX/.ready" "$WINEPREFIX/.update-timestamp" "$WINEPREFIX/wineserver"
  cp "$WINE_TEMPLATE"/*.reg "$WINE_TEMPLATE/.update-timestamp" "$WINEPREFIX/"
  for ini in "$WINEPREFIX"/drive_c/windows/*.ini; do
    [ -f "$ini" ] && { cp --remove-destination "$(readlink -f "$ini")" "$ini.tmp" && mv "$ini.tmp" "$ini"; }
  done
  trap harness_cleanup EXIT
  exec 8>"$WT/xvfb.display"
  Xvfb -displayfd 8 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  HARNESS_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$WT/xvfb.display" ] && break
    sleep 0.1
  done
  [ -s "$WT/xvfb.display" ] || { echo "FAIL: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$WT/xvfb.display")"
  export STANDIN_LOG
  STANDIN_LOG=$(winpath "$WT/started.log")
  export STANDIN_WHO
  STANDIN_WHO=$(winpath "$WT/who.log")
  : >"$WT/started.log"
  : >"$WT/who.log"
  : >"$WT/boxes.log"
  : >"$WT/boxes-detail.log"
}

harness_cleanup() {
  [ -n "${WINEPREFIX:-}" ] && timeout 20 wineserver -k >/dev/null 2>&1
  [ -n "$HARNESS_XVFB_PID" ] && kill "$HARNESS_XVFB_PID" 2>/dev/null
  wait 2>/dev/null
}

# `wine reg ARGS...`, bounded.
wine_reg() {
  timeout 60 wine reg "$@" >/dev/null 2>&1 || { fail "wine reg $*"; return 1; }
}

# The version the launcher's GetVersionExA reports: winxp (5.1) or win7 (6.1).
wine_set_version() {
  wine_reg add 'HKCU\Software\Wine' /v Version /d "$1" /f
}

# A 64-bit system carries "ProgramFilesDir (x86)" in the view the 32-bit
# launcher reads; a 32-bit one has no such value.
wine_set_64bit() {
  local key='HKLM\Software\Microsoft\Windows\CurrentVersion'
  if [ "$1" = yes ]; then
    wine_reg add "$key" /v 'ProgramFilesDir (x86)' /d 'C:\Program Files (x86)' /f /reg:32
  else
    timeout 60 wine reg delete "$key" /v 'ProgramFilesDir (x86)' /f /reg:32 >/dev/null 2>&1
    true
  fi
}

# A package folder with Setup.exe in it.
pkg_new() {
  mkdir -p "$1"
  cp "$WINBUILD/Setup.exe" "$1/Setup.exe"
}

# The recording stand-in program at PATH (any name).
pkg_standin() {
  mkdir -p "$(dirname "$1")"
  cp "$WINBUILD/tests/standin.exe" "$1"
}

# Runs Setup.exe (or $SETUP_EXE) of PKGDIR under Wine with the box answerer. Returns its
# exit status (124 after SETUP_TIMEOUT seconds, which fails the scenario).
# It runs in PKGDIR, or in $SETUP_CWD; its standard error goes to
# $SETUP_STDERR (for a WINEDEBUG trace) or nowhere.
run_setup() {
  local pkg=$1
  shift
  rm -f "$WT/boxbot.ready" "$WT/boxbot.stop"
  wine "$WINBUILD/tests/boxbot.exe" "$(winpath "$WT/boxes.log")" "$(winpath "$WT/boxes-detail.log")" \
    "$(winpath "$WT/boxbot.ready")" "$(winpath "$WT/boxbot.stop")" >/dev/null 2>&1 &
  local i
  for i in $(seq 1 300); do
    [ -f "$WT/boxbot.ready" ] && break
    sleep 0.1
  done
  [ -f "$WT/boxbot.ready" ] || fail "the box answerer did not start"
  local status=0
  (cd "${SETUP_CWD:-$pkg}" && timeout "$SETUP_TIMEOUT" wine "$pkg/${SETUP_EXE:-Setup.exe}" "$@" >/dev/null 2>"${SETUP_STDERR:-/dev/null}") || status=$?
  [ "$status" = 124 ] && fail "Setup.exe did not end within ${SETUP_TIMEOUT}s"
  harness_settle
  return "$status"
}

# Stops the box answerer and waits (bounded) until every process of the
# prefix has ended, so the logs are complete.
harness_settle() {
  touch "$WT/boxbot.stop"
  timeout 60 wineserver -w || { fail "processes of the prefix did not end"; timeout 20 wineserver -k; }
}

expect_eq() {
  if [ "$1" != "$2" ]; then
    fail "$3: expected [$1], got [$2]"
  fi
}

# Compares FILE with the text on standard input, exactly.
expect_file() {
  local want
  want=$(cat)
  local got
  got=$(cat "$1" 2>/dev/null)
  if [ "$want" != "$got" ]; then
    fail "$1 differs from what was expected"
    diff <(printf '%s\n' "$want") <(printf '%s\n' "$got") | sed 's/^/    /' >&2
  fi
}

wine_test_end() {
  if [ "$HARNESS_FAILURES" -ne 0 ]; then
    echo "$HARNESS_NAME: $HARNESS_FAILURES check(s) failed" >&2
    exit 1
  fi
  echo "$HARNESS_NAME: ok"
  exit 0
}

# What a run could leave behind: the registry as Wine stores it and every
# file of the prefix's drive C and of the folders given. Wine's own boot-time
# churn (key timestamps, the device class driver dates it rewrites at every
# start) is left out. Writes the snapshot to $WT/NAME.snap.
snapshot() {
  local name=$1
  shift
  timeout 60 wineserver -w
  {
    local f
    for f in system user userdef; do
      echo "== $f.reg"
      sed -e '/^#time=/d' -e 's/^\(\[.*\]\) [0-9]*$/\1/' -e '/^"DriverDateData"=/d' \
          -e '/^;; All keys relative/d' "$WINEPREFIX/$f.reg"
    done
    echo "== files"
    (cd "$WINEPREFIX/drive_c" && find . -printf '%y %s %p\n' | sort)
    for f in "$@"; do
      (cd "$f" && find . -type f -exec md5sum {} + | sort -k2)
    done
  } >"$WT/$name.snap"
}

expect_same_snapshot() {
  if ! diff -q "$WT/$1.snap" "$WT/$2.snap" >/dev/null; then
    fail "the run changed the registry or files"
    diff "$WT/$1.snap" "$WT/$2.snap" | head -40 | sed 's/^/    /' >&2
  fi
}
