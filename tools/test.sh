#!/usr/bin/env bash
# Runs every test: installs what is missing (as root), builds Setup.exe and
# the Windows test programs (windows preset), builds the core, unit tests and
# host tools under ASan and UBSan (host preset), then runs all of CTest:
# unit tests, the checks of the built Setup.exe, and the Wine scenarios.
#   bash tools/test.sh [extra ctest arguments, e.g. -L unit]
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh

cmake --preset windows >/dev/null
cmake --build --preset windows
cmake --preset host >/dev/null
cmake --build --preset host

ctest --preset host "$@"
