#!/usr/bin/env bash
# Makes the template prefix that every scenario copies, and checks that the
# Windows build the scenarios run is there.
source "$(dirname "$0")/harness.sh"
[ -f "$WINBUILD/Setup.exe" ] || { echo "FAIL: $WINBUILD/Setup.exe is missing: build the windows preset first" >&2; exit 1; }
wine_template_ensure || { echo "FAIL: could not make the Wine template prefix" >&2; exit 1; }
echo "template prefix ready: $WINE_TEMPLATE"
