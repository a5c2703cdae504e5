#!/usr/bin/env bash
# setup-check's profile reader against GetPrivateProfileStringA: every
# Setting.ini of the corpus (and one that does not exist) is read with both,
# through the same list of lookups, and the answers must be identical.
set -u
source "$(dirname "$0")/../lib/harness.sh"
host_dump=$1  # the host build's profile-dump-host
wine_test_begin check_profile_corpus

here="$(cd "$(dirname "$0")" && pwd)"
requests="$here/corpus/requests.txt"
status=0
for ini in "$here"/corpus/*.ini "$here/corpus/absent.ini"; do
  name="$(basename "$ini" .ini)"
  cp "$requests" "$WT/requests.txt"
  rm -f "$WT/Setting.ini"
  [ -f "$ini" ] && cp "$ini" "$WT/Setting.ini"
  ( cd "$WT" && timeout 60 wine "$WINBUILD/tests/profile-dump.exe" Setting.ini requests.txt ) \
    >"$WT/$name.platform" 2>/dev/null || { echo "profile-dump failed on $name"; status=1; continue; }
  "$host_dump" "$WT/Setting.ini" "$WT/requests.txt" >"$WT/$name.host"
  if ! cmp -s "$WT/$name.platform" "$WT/$name.host"; then
    echo "answers differ for $name (< platform, > setup-check):"
    diff "$WT/$name.platform" "$WT/$name.host" | head -40
    status=1
  fi
  expect_eq "$(wc -l <"$requests")" "$(wc -l <"$WT/$name.platform")" "lookups answered for $name"
done
expect_eq 0 "$status" "answers of the two readers"
wine_test_end
