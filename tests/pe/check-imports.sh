#!/usr/bin/env bash
# Import audit of Setup.exe: lists every DLL and function it imports and
# fails on any that is not in the allowlist beside this script. The list
# holds the functions the launcher means to use, each one that Windows XP
# SP3 provides, so a new import (or one XP lacks) is a reviewed decision.
#   check-imports.sh SETUP_EXE [ALLOWLIST]
set -u
exe=${1:?Setup.exe}
allow=${2:-$(dirname "$0")/xp-sp3-imports.txt}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

[ -f "$exe" ] || { echo "FAIL: $exe not found (build the windows preset)"; exit 1; }
headers=$("$objdump" -p "$exe") || { echo "FAIL: $objdump could not read $exe"; exit 1; }

bad=0
echo "$headers" | grep -q 'file format pei-i386' || { echo "FAIL: not a PE32 (i386) image"; bad=1; }
echo "$headers" | grep -Eq '^Subsystem[[:space:]]+00000002' || { echo "FAIL: not a Windows GUI program"; bad=1; }
major=$(echo "$headers" | awk '/^MajorSubsystemVersion/ {print $2}')
minor=$(echo "$headers" | awk '/^MinorSubsystemVersion/ {print $2}')
if [ "$major" -gt 5 ] || { [ "$major" -eq 5 ] && [ "$minor" -gt 1 ]; }; then
  echo "FAIL: subsystem version $major.$minor is newer than Windows XP (5.1)"
  bad=1
fi
if echo "$headers" | grep -Eq '^Entry d [0-9a-f]+ [0-9a-f]*[1-9a-f][0-9a-f]* Delay Import'; then
  echo "FAIL: delay-load imports (they crash under the 32-bit loader we test on)"
  bad=1
fi

# "DLL function" pairs, DLL names in lower case.
imports=$(echo "$headers" | awk '
  /DLL Name:/ { dll = tolower($3); next }
  dll != "" && /^\t[0-9a-f]+\t/ { print dll, $NF; next }
  /^$/ { dll = "" }')

echo "Setup.exe imports (subsystem $major.$minor):"
echo "$imports" | awk '{ if ($1 != last) { print "  " $1; last = $1 } print "    " $2 }'

allowed=$(grep -v '^#' "$allow" | awk 'NF == 2 { print tolower($1), $2 }')
while read -r dll fn; do
  [ -n "$dll" ] || continue
  if ! grep -qxF "$dll $fn" <<<"$allowed"; then
    echo "FAIL: $dll $fn is not in the XP SP3 allowlist ($allow)"
    bad=1
  fi
done <<<"$imports"

[ "$bad" = 0 ] && echo "import audit: ok"
exit "$bad"
