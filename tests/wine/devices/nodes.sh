#!/usr/bin/env bash
# Device-node maintenance as Setup.exe carries it out: while it loads
# Setting.ini it notes which DevDrvID prefixes belong to devices of the
# system, and the audio-class switch (over the stand-in capture driver)
# later removes the nodes whose first hardware ID begins with a noted
# prefix. The scenarios make nodes with devnode-tool, run the package, and
# check which nodes of the system remain: only the matching ones go, every
# other node (Wine's own monitor, HID, PCI, winebus and wineusb nodes too)
# stays.
#
# Wine counts every registered node as present (it ignores DIGCF_PRESENT),
# so the rule that only devices present at start-up count cannot be shown
# here; the unit tests prove it. What can be shown is that the prefixes are
# noted before the driver setup runs (installed-by-setup).
#   nodes.sh CASE
source "$(dirname "$0")/../lib/package.sh"
source "$(dirname "$0")/../devmem/driver.sh"

case_name=$1
wine_test_begin "devices-$case_name"
TOOL="$WINBUILD/tests/devnode-tool.exe"
[ -f "$TOOL" ] || { fail "devnode-tool.exe missing in $WINBUILD/tests"; wine_test_end; }

# Makes one node per argument ("ID1;ID2": its hardware-ID list); prints their
# instance IDs.
make_nodes() {
  timeout 60 wine "$TOOL" create "$@" 2>&1 | tr -d '\r' || fail "devnode-tool create $*"
}

# Every node of the system, "<instance ID>|<first hardware ID>", sorted.
list_nodes() {
  timeout 60 wine "$TOOL" list 2>/dev/null | tr -d '\r' | LC_ALL=C sort || fail "devnode-tool list"
}

# The nodes of $WT/before.list without those of the instance IDs given.
without() {
  printf '%s\n' "$@" >"$WT/gone.ids"
  awk -F'|' 'NR == FNR { gone[$0] = 1; next } !($1 in gone)' "$WT/gone.ids" "$WT/before.list"
}

# Nodes of the device family and look-alikes.
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

# The stand-in driver with a device whose audio class needs no change (0xD0
# on an XP-class system without EnableXPAudioClass, 0x50 otherwise), so only
# the node settings decide what the switch does.
quiet_driver() {
  driver_install video "USB K111 Device"
  driver_state "reg8=${1:-0xD0}" reg37=0x00 reg38=0x01
}

# Runs the package and compares the nodes left with $WT/want.list.
run_and_expect_nodes() {
  run_package
  list_nodes >"$WT/after.list"
  expect_file "$WT/after.list" <"$WT/want.list"
}

case $case_name in
  match-and-remove)
    # A lower-case prefix matches both nodes whose first ID begins with it;
    # a node that has it only as a later ID, one whose first ID is shorter,
    # one that differs in a non-letter byte and another product of the same
    # maker stay. DelAudioRegKeyMessage asks for the re-plug.
    make_family
    list_nodes >"$WT/before.list"
    switch_package xp-x64 DeviceIDNum=2 'DevDrvID0=usb\vid_1234&pid_5678' 'DevDrvID1=USB\VID_FFFF' \
      EnableXPAudioClass=1 DelAudioRegKey=1 DelAudioRegKeyMessage=1
    quiet_driver 0x50
    without "${NODES[0]}" "${NODES[1]}" >"$WT/want.list"
    run_and_expect_nodes
    expect_driver_setup_ran xp-x64
    expect_eq 0x50 "$(driver_register 8)" "register 8"
    expect_boxes <<<"$REPLUGIN_BOX"
    ;;

  empty-prefix)
    # An empty prefix (present but empty, or its key missing) takes no node
    # of the system with it, alone or beside a real one. Without
    # DelAudioRegKeyMessage the removal asks for nothing.
    make_family
    list_nodes >"$WT/before.list"
    switch_package xp-x86 DeviceIDNum=2 DevDrvID0= DelAudioRegKey=1
    quiet_driver
    cp "$WT/before.list" "$WT/want.list"
    run_and_expect_nodes
    expect_boxes </dev/null

    switch_package xp-x86 DeviceIDNum=3 DevDrvID0= 'DevDrvID1=USB\VID_1234&PID_9999' DelAudioRegKey=1
    without "${NODES[2]}" >"$WT/want.list"
    run_and_expect_nodes
    expect_boxes </dev/null
    ;;

  no-match)
    # Prefixes of no device: nothing is removed; the re-plug is still asked
    # for, as the removal ran.
    make_family
    list_nodes >"$WT/before.list"
    switch_package xp-x86 DeviceIDNum=2 'DevDrvID0=USB\VID_1234&PID_5678&REV_0100&X' 'DevDrvID1=USB\VID_12345' \
      DelAudioRegKey=1 DelAudioRegKeyMessage=1
    quiet_driver
    cp "$WT/before.list" "$WT/want.list"
    run_and_expect_nodes
    expect_boxes <<<"$REPLUGIN_BOX"
    ;;

  list-cap)
    # Twelve matching devices: the list of noted prefixes is full at ten,
    # and the removal still takes every node the noted prefix matches. On a
    # Vista-class system, where EnableAudioClass lets the switch run.
    ids=()
    for i in $(seq 10 21); do ids+=("USB\\VID_ABCD&PID_00$i"); done
    out=$(make_nodes "${ids[@]}")
    mapfile -t NODES <<<"$out"
    [ "${#NODES[@]}" = 12 ] || fail "expected 12 new nodes, got: $out"
    list_nodes >"$WT/before.list"
    switch_package vista-x64 EnableAudioClass=1 DeviceIDNum=1 'DevDrvID0=USB\VID_ABCD' DelAudioRegKey=1
    quiet_driver 0x50
    without "${NODES[@]}" >"$WT/want.list"
    run_and_expect_nodes
    expect_driver_setup_ran vista-x64
    expect_boxes </dev/null
    ;;

  unterminated)
    # A hardware-ID list stored without its terminators (as a broken driver
    # can leave it): the ID is the bytes the service returns, no more, so
    # the prefix of its exact length matches and a longer one does not.
    out=$(make_nodes 'raw:USB\VID_7777&PID_1' 'USB\VID_7777&PID_2')
    mapfile -t NODES <<<"$out"
    [ "${#NODES[@]}" = 2 ] || fail "expected 2 new nodes, got: $out"
    list_nodes >"$WT/before.list"
    switch_package xp-x86 DeviceIDNum=2 'DevDrvID0=USB\VID_7777&PID_12' 'DevDrvID1=usb\vid_7777&pid_1' DelAudioRegKey=1
    quiet_driver
    without "${NODES[0]}" >"$WT/want.list"
    run_and_expect_nodes
    ;;

  long-id-list)
    # Hardware-ID lists of about 2 KB, far beyond the first buffer of the
    # start-up scan and asked for with no buffer by the removal: the one
    # whose first ID matches goes, the one with the prefix only later stays.
    later=$(for i in $(seq 1 70); do printf ';USB\\VID_4444&PID_%04d&REV_0001' "$i"; done)
    out=$(make_nodes "USB\VID_4444&PID_0001$later" "USB\VID_3333&PID_0001$later")
    mapfile -t NODES <<<"$out"
    [ "${#NODES[@]}" = 2 ] || fail "expected 2 new nodes, got: $out"
    list_nodes >"$WT/before.list"
    switch_package xp-x86 DeviceIDNum=1 'DevDrvID0=USB\VID_4444' DelAudioRegKey=1
    quiet_driver
    without "${NODES[0]}" >"$WT/want.list"
    run_and_expect_nodes
    ;;

  class-write-removes | class-write-fails)
    # With EnableXPAudioClass, a register-8 write that succeeds removes the
    # matched nodes by itself (no DelAudioRegKey) and asks for the re-plug;
    # a write that fails removes nothing and asks for nothing.
    make_family
    list_nodes >"$WT/before.list"
    switch_package xp-x86 DeviceIDNum=1 'DevDrvID0=USB\VID_1234&PID_9999' EnableXPAudioClass=1
    driver_install video "USB K111 Device"
    if [ "$case_name" = class-write-removes ]; then
      driver_state reg8=0xD0 reg37=0x00 reg38=0x01
      without "${NODES[2]}" >"$WT/want.list"
      run_and_expect_nodes
      expect_eq 0x50 "$(driver_register 8)" "register 8"
      expect_boxes <<<"$REPLUGIN_BOX"
    else
      driver_state writefail=8 reg8=0xD0 reg37=0x00 reg38=0x01
      cp "$WT/before.list" "$WT/want.list"
      run_and_expect_nodes
      expect_eq 0xD0 "$(driver_register 8)" "register 8"
      expect_boxes </dev/null
    fi
    ;;

  no-connection)
    # DelAudioRegKey, but no capture driver: the switch ends before it
    # removes anything, and asks for nothing.
    make_family
    list_nodes >"$WT/before.list"
    switch_package xp-x86 DeviceIDNum=1 'DevDrvID0=USB\VID_1234&PID_9999' DelAudioRegKey=1 DelAudioRegKeyMessage=1
    cp "$WT/before.list" "$WT/want.list"
    run_and_expect_nodes
    expect_boxes </dev/null
    ;;

  installed-by-setup)
    # The prefixes are noted before the driver setup runs: a node the setup
    # installs is removed when its prefix had a node already, and stays
    # when it had none.
    make_family
    list_nodes >"$WT/before.list"
    switch_package xp-x86 DeviceIDNum=2 'DevDrvID0=USB\VID_1234&PID_9999' 'DevDrvID1=USB\VID_5555' DelAudioRegKey=1
    quiet_driver
    cp "$TOOL" "$PKG/XP_x86/SetupDrv.exe"
    printf '%s\r\n' 'USB\VID_1234&PID_9999&REV_0200' 'USB\VID_5555&PID_0001' >"$PKG/XP_x86/SetupDrv.exe.create"
    run_package
    mapfile -t NEW < <(tr -d '\r' <"$PKG/XP_x86/SetupDrv.exe.created" 2>/dev/null)
    [ "${#NEW[@]}" = 2 ] || fail "the driver setup did not install its 2 nodes"
    grep -F "${NEW[1]:-none}|" <(list_nodes) >"$WT/kept.list"
    { without "${NODES[2]}"; cat "$WT/kept.list"; } | LC_ALL=C sort >"$WT/want.list"
    list_nodes >"$WT/after.list"
    expect_file "$WT/after.list" <"$WT/want.list"
    expect_eq 1 "$(grep -c 'USB\\VID_5555&PID_0001$' "$WT/after.list")" "the node installed under a prefix not noted"
    ;;

  planted-setupapi)
    # A setupapi.dll beside Setup.exe (its current folder too) is never the
    # one that runs, even with native DLLs preferred (as Windows does for
    # DLLs that are not known DLLs): the removal still works.
    make_family
    list_nodes >"$WT/before.list"
    switch_package xp-x86 DeviceIDNum=1 'DevDrvID0=USB\VID_1234&PID_9999' DelAudioRegKey=1
    quiet_driver
    cp "$WINBUILD/tests/planted.dll" "$PKG/setupapi.dll"
    : >"$WT/planted.log"
    without "${NODES[2]}" >"$WT/want.list"
    PLANTED_LOG=$(winpath "$WT/planted.log") WINEDLLOVERRIDES="mscoree,mshtml=;setupapi=n,b" run_package
    list_nodes >"$WT/after.list"
    expect_file "$WT/after.list" <"$WT/want.list"
    expect_file "$WT/planted.log" </dev/null
    expect_driver_setup_ran xp-x86
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
