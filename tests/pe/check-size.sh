#!/usr/bin/env bash
# Setup.exe travels at the top of every driver package: it stays within
# 128 KiB.
exe=${1:?Setup.exe}
limit=$((128 * 1024))
[ -f "$exe" ] || { echo "FAIL: $exe not found (build the windows preset)"; exit 1; }
size=$(stat -c %s "$exe")
echo "Setup.exe: $size bytes (limit $limit)"
[ "$size" -le "$limit" ] || { echo "FAIL: Setup.exe is larger than 128 KiB"; exit 1; }
