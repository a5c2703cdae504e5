#!/usr/bin/env bash
# Device-node maintenance through the real SetupAPI under Wine: the launcher's
# device code (core and SetupAPI adapter, in the devices probe) notes the
# given prefixes of present devices, then removes the nodes whose first
# hardware ID begins with a noted prefix. The scenario checks which nodes of
# the system remain: only the matching ones go, every other node (Wine's own
# monitor, HID, PCI, winebus and wineusb nodes too) stays.
#
# Wine counts every registered node as present (it ignores DIGCF_PRESENT), so
# the present-at-start-up rule cannot be shown here; the unit tests prove it.
#   nodes.sh CASE
source "$(dirname "$0")/../lib/harness.sh"

case_name=$1
wine_test_begin "devices-$case_name"
TOOL="$WINBUILD/tests/devnode-tool.exe"
PROBE="$WINBUILD/tests/devices-probe.exe"
[ -f "$TOOL" ] && [ -f "$PROBE" ] || { fail "devnode-tool.exe or devices-probe.exe missing in $WINBUILD/tests"; wine_test_end; }

# Makes one node per argument ("ID1;ID2": its hardware-ID list); prints their
# instance IDs.
make_nodes() {
  timeout 60 wine "$TOOL" create "$@" 2>&1 | tr -d '\r' || fail "devnode-tool create $*"
}

# Every node of the system, "<instance ID>|<first hardware ID>", sorted.
list_nodes() {
  timeout 60 wine "$TOOL" list 2>/dev/null | tr -d '\r' | LC_ALL=C sort || fail "devnode-tool list"
}

probe() {
  timeout 60 wine "$PROBE" "$@" 2>/dev/null | tr -d '\r' || fail "devices-probe $*"
}

# The nodes of $WT/before.list without those of the instance IDs given.
without() {
  printf '%s\n' "$@" >"$WT/gone.ids"
  awk -F'|' 'NR == FNR { gone[$0] = 1; next } !($1 in gone)' "$WT/gone.ids" "$WT/before.list"
}

# Nodes of the device family and look-alikes that must stay.
make_family() {
  local out
  out=$(make_nodes \
    'USB\VID_1234&PID_5678&REV_0100;USB\VID_1234&PID_5678' \
    'USB\VID_1234&PID_5678&MI_01' \
    'USB\VID_1234&PID_9999' \
    'PCI\VEN_1AF4&DEV_1000;USB\VID_1234&PID_5678' \
    'USB\VID_1234' \
    'USB|VID_1234&PID_5678')
  mapfile -t NODES <<<"$out"
  [ "${#NODES[@]}" = 6 ] || fail "expected 6 new nodes, got: $out"
}

case $case_name in
  match-and-remove)
    # A lower-case prefix matches both nodes whose first ID begins with it
    # (so it is listed twice); a node that has it only as a later ID, one
    # whose first ID is shorter, and one that differs in a non-letter byte
    # stay, as does a node of another product of the same maker.
    make_family
    list_nodes >"$WT/before.list"
    probe 'usb\vid_1234&pid_5678' 'USB\VID_FFFF' >"$WT/probe.out"
    expect_file "$WT/probe.out" <<'OUT'
collect 2
matched 0 usb\vid_1234&pid_5678
matched 1 usb\vid_1234&pid_5678
remove 1
OUT
    list_nodes >"$WT/after.list"
    without "${NODES[0]}" "${NODES[1]}" >"$WT/want.list"
    expect_file "$WT/after.list" <"$WT/want.list"
    ;;

  empty-prefix)
    # An empty prefix, alone or beside a real one, takes no node of the
    # system with it.
    make_family
    list_nodes >"$WT/before.list"
    probe '' >"$WT/probe-empty.out"
    expect_file "$WT/probe-empty.out" <<'OUT'
collect 0
remove 1
OUT
    list_nodes >"$WT/after-empty.list"
    expect_file "$WT/after-empty.list" <"$WT/before.list"

    probe '' 'USB\VID_1234&PID_9999' '' >"$WT/probe.out"
    expect_file "$WT/probe.out" <<'OUT'
collect 1
matched 0 USB\VID_1234&PID_9999
remove 1
OUT
    list_nodes >"$WT/after.list"
    without "${NODES[2]}" >"$WT/want.list"
    expect_file "$WT/after.list" <"$WT/want.list"
    ;;

  no-match)
    # Prefixes of no device: nothing is listed and nothing removed.
    make_family
    list_nodes >"$WT/before.list"
    probe 'USB\VID_1234&PID_5678&REV_0100&X' 'USB\VID_12345' >"$WT/probe.out"
    expect_file "$WT/probe.out" <<'OUT'
collect 0
remove 1
OUT
    list_nodes >"$WT/after.list"
    expect_file "$WT/after.list" <"$WT/before.list"
    ;;

  list-cap)
    # Twelve matching devices: the list stops at ten entries, and the
    # removal still takes every node the listed prefix matches.
    ids=()
    for i in $(seq 10 21); do ids+=("USB\\VID_ABCD&PID_00$i"); done
    out=$(make_nodes "${ids[@]}")
    mapfile -t NODES <<<"$out"
    [ "${#NODES[@]}" = 12 ] || fail "expected 12 new nodes, got: $out"
    list_nodes >"$WT/before.list"
    probe 'USB\VID_ABCD' >"$WT/probe.out"
    {
      echo "collect 10"
      for i in $(seq 0 9); do echo "matched $i USB\\VID_ABCD"; done
      echo "remove 1"
    } >"$WT/want-probe.out"
    expect_file "$WT/probe.out" <"$WT/want-probe.out"
    list_nodes >"$WT/after.list"
    without "${NODES[@]}" >"$WT/want.list"
    expect_file "$WT/after.list" <"$WT/want.list"
    ;;

  unterminated)
    # A hardware-ID list stored without its terminators (as a broken driver
    # can leave it): the ID is the bytes the service returns, no more, so
    # the prefix of its exact length matches and a longer one does not.
    out=$(make_nodes 'raw:USB\VID_7777&PID_1' 'USB\VID_7777&PID_2')
    mapfile -t NODES <<<"$out"
    [ "${#NODES[@]}" = 2 ] || fail "expected 2 new nodes, got: $out"
    list_nodes >"$WT/before.list"
    probe 'USB\VID_7777&PID_12' 'usb\vid_7777&pid_1' >"$WT/probe.out"
    expect_file "$WT/probe.out" <<'OUT'
collect 1
matched 0 usb\vid_7777&pid_1
remove 1
OUT
    list_nodes >"$WT/after.list"
    without "${NODES[0]}" >"$WT/want.list"
    expect_file "$WT/after.list" <"$WT/want.list"
    ;;

  planted-setupapi)
    # A setupapi.dll beside the program and in its current folder is never
    # the one that runs: the maintenance loads SetupAPI from the system
    # folder by full path. Native DLLs are preferred here (as Windows does
    # for DLLs that are not known DLLs), so an import would take the plant.
    make_family
    list_nodes >"$WT/before.list"
    mkdir -p "$WT/pkg"
    cp "$PROBE" "$WT/pkg/devices-probe.exe"
    cp "$WINBUILD/tests/planted.dll" "$WT/pkg/setupapi.dll"
    : >"$WT/planted.log"
    (cd "$WT/pkg" && PLANTED_LOG=$(winpath "$WT/planted.log") WINEDLLOVERRIDES="mscoree,mshtml=;setupapi=n,b" \
      timeout 60 wine "$WT/pkg/devices-probe.exe" 'USB\VID_1234&PID_9999' 2>/dev/null | tr -d '\r') >"$WT/probe.out" ||
      fail "devices-probe beside a planted setupapi.dll"
    expect_file "$WT/planted.log" </dev/null
    expect_file "$WT/probe.out" <<'OUT'
collect 1
matched 0 USB\VID_1234&PID_9999
remove 1
OUT
    list_nodes >"$WT/after.list"
    without "${NODES[2]}" >"$WT/want.list"
    expect_file "$WT/after.list" <"$WT/want.list"
    ;;

  *)
    fail "unknown case $case_name"
    ;;
esac

# Wine's own nodes are all still there, whatever the case removed.
for wine_node in 'DISPLAY\DEFAULT_MONITOR' 'HID\VID_845E' 'PCI\VEN_0000' 'ROOT\WINE\WINEBUS' 'WINEBUS\VID_845E'; do
  grep -qF "$wine_node" "$WT/after.list" || fail "Wine's node $wine_node is gone"
done
timeout 60 wineserver -w || fail "processes of the prefix did not end"
wine_test_end
