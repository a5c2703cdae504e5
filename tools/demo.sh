#!/usr/bin/env bash
# The main job: builds Setup.exe, then runs it under Wine on a driver
# package (the sample in samples/package by default) as a user would, and
# prints what it did: the boxes it showed (answered with OK), the programs it
# started with their command lines, the update packages it opened.
#   bash tools/demo.sh [--os vista-x64|vista-x86|xp-x64|xp-x86] [PACKAGE_DIR] [-- SETUP_ARGS...]
# The package's programs are replaced by recording stand-ins (listed in the
# package's STANDINS file, or every .exe it holds). Also builds
# build/host/setup-check, the dry run and lint of a package.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

os=vista-x64
package=$root/samples/package
while [ $# -gt 0 ]; do
  case $1 in
    --os) os=$2; shift 2 ;;
    --) shift; break ;;
    -h|--help) sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) package=$(cd "$1" && pwd); shift ;;
  esac
done

bash tools/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows >/dev/null
# The package author's dry run and lint comes with it: build/host/setup-check.
cmake --preset host >/dev/null
cmake --build --preset host --target setup-check >/dev/null

export WINE_RUNS=$root/build/demo
export WINE_TEMPLATE=$root/build/demo/template
source tests/wine/lib/package.sh
set +e
echo "Preparing a Wine system ($os)..."
wine_test_begin "run-$os"
PKG=$WT/package
cp -r "$package" "$PKG"
pkg_new "$PKG"
if [ -f "$PKG/STANDINS" ]; then
  grep -v '^#' "$PKG/STANDINS" | while read -r p; do [ -n "$p" ] && pkg_standin "$PKG/$p"; done
else
  find "$PKG" -iname '*.exe' ! -name Setup.exe | while read -r p; do pkg_standin "$p"; done
fi
msu_association "$WT/update-installer/wusa.exe"
wine_variant "$os"
echo "Running Setup.exe $* in $(winpath "$PKG")"
run_setup "$PKG" "$@"
status=$?

handler=$(winpath "$WT/update-installer/wusa.exe")
echo
echo "Message boxes shown (caption | text):"
sed 's/^/  /' "$WT/boxes.log"
[ -s "$WT/boxes.log" ] || echo "  none"
echo "Programs started (command lines, in order):"
grep '^start ' "$WT/started.log" | grep -vF "\"$handler\"" | sed 's/^start /  /'
echo "Update packages opened through the shell:"
grep '^start ' "$WT/started.log" | grep -F "\"$handler\"" | sed "s/^start \"[^\"]*\" /  /"
grep -qF "\"$handler\"" "$WT/started.log" || echo "  none"
echo "Setup.exe exit status: $status"
harness_cleanup
trap - EXIT
