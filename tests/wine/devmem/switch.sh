#!/usr/bin/env bash
# The audio-class switch as Setup.exe carries it out after the driver setup,
# against the stand-in capture driver: judged by the device's registers,
# the property calls it saw (and their spacing), the filter objects it made
# and the message boxes the user got.
#   switch.sh CASE
source "$(dirname "$0")/../lib/package.sh"
source "$(dirname "$0")/driver.sh"

CASE=$1
wine_test_begin "devmem.$CASE"

# The property calls of detection and the three reads at 0xA0.
DETECT_AND_READS='set 4107 0x000000A0 -> 0x00000000
get 4116 -> 0x00000000
get 4115 -> 0x00000000
set 4103 0x01A00801 -> 0x00000000
get 4104 -> 0x00000000
set 4103 0x01A02501 -> 0x00000000
get 4104 -> 0x00000000
set 4103 0x01A02601 -> 0x00000000
get 4104 -> 0x00000000'

# Every filter object made was released again: no reference outlived the run.
expect_references_balanced() {
  local made gone
  made=$(driver_objects | grep -c '^create$')
  gone=$(driver_objects | grep -c '^destroy$')
  expect_eq "$made" "$gone" "filter objects destroyed"
  [ "$made" -ge 1 ] || fail "the driver's filter was never made"
}

# The switch never reached the driver: no filter made, no property call.
expect_driver_untouched() {
  expect_eq "" "$(driver_calls)" "property calls"
  expect_eq "" "$(driver_objects)" "filter objects"
}

expect_registers() {
  local reg want
  for reg in 8 37 38; do
    want=$1
    shift
    expect_eq "$want" "$(driver_register $reg)" "register $reg"
  done
}

case $CASE in
  xp-class-off)
    # XP class: the switch runs without being asked; 0x50 becomes 0xD0 and
    # the user is asked to re-plug.
    switch_package xp-x86
    driver_install video "USB K111 Device"
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_package
    expect_driver_setup_ran xp-x86
    expect_registers 0xD0 0x00 0x01
    expect_file <(driver_calls) <<EOF2
$DETECT_AND_READS
set 4103 0x01A00801 -> 0x00000000
set 4104 0x000000D0 -> 0x00000000
EOF2
    expect_boxes <<<"$REPLUGIN_BOX"
    expect_references_balanced
    ;;
  xp-class-already-off)
    switch_package xp-x64
    driver_install video "USB K111 Device"
    driver_state reg8=0xD0 reg37=0x00 reg38=0x01
    run_package
    expect_driver_setup_ran xp-x64
    expect_registers 0xD0 0x00 0x01
    expect_file <(driver_calls) <<<"$DETECT_AND_READS"
    expect_boxes </dev/null
    expect_references_balanced
    ;;
  vista-class-on)
    # Vista class with EnableAudioClass: 0xD0 becomes 0x50.
    switch_package vista-x64 EnableAudioClass=1
    driver_install video "USB K111 Device"
    driver_state reg8=0xD0 reg37=0x00 reg38=0x01
    run_package
    expect_driver_setup_ran vista-x64
    expect_registers 0x50 0x00 0x01
    expect_file <(driver_calls) <<EOF2
$DETECT_AND_READS
set 4103 0x01A00801 -> 0x00000000
set 4104 0x00000050 -> 0x00000000
EOF2
    expect_boxes <<<"$REPLUGIN_BOX"
    expect_references_balanced
    ;;
  vista-class-off)
    # Vista class without EnableAudioClass: the switch is not called, so no
    # other audio setting can act and the driver is never even looked up.
    switch_package vista-x86 EnableXPAudioClass=1 EnableAudioVol=1 DelAudioRegKey=1 DelAudioRegKeyMessage=1
    driver_install video "USB K111 Device"
    driver_state reg8=0xD0 reg37=0x05 reg38=0x00
    run_package
    expect_driver_setup_ran vista-x86
    expect_registers 0xD0 0x05 0x00
    expect_driver_untouched
    expect_boxes </dev/null
    ;;
  xp-audio-class-on)
    # EnableXPAudioClass: 0xD0 becomes 0x50 (the node removal that follows
    # the write is shown by the device-node scenarios).
    switch_package xp-x86 EnableXPAudioClass=1
    driver_install video "USB K111 Device"
    driver_state reg8=0xD0 reg37=0x00 reg38=0x01
    run_package
    expect_registers 0x50 0x00 0x01
    expect_file <(driver_calls) <<EOF2
$DETECT_AND_READS
set 4103 0x01A00801 -> 0x00000000
set 4104 0x00000050 -> 0x00000000
EOF2
    expect_boxes <<<"$REPLUGIN_BOX"
    ;;
  volume-step)
    # Register 38 := 1, then 37 := 0, each after a pause of 200 ms that the
    # device sees between the calls.
    switch_package xp-x86 EnableXPAudioClass=1 EnableAudioVol=1
    driver_install video "USB K111 Device"
    driver_state reg8=0x50 reg37=0x05 reg38=0x00
    run_package
    expect_registers 0x50 0x00 0x01
    expect_file <(driver_calls) <<EOF2
$DETECT_AND_READS
set 4103 0x01A02601 -> 0x00000000
set 4104 0x00000001 -> 0x00000000
set 4103 0x01A02501 -> 0x00000000
set 4104 0x00000000 -> 0x00000000
EOF2
    mapfile -t gaps < <(driver_call_gaps)
    expect_eq 13 "${#gaps[@]}" "timed property calls"
    # Sleep(200) may end a little early on a coarse system clock.
    [ "${gaps[9]:-0}" -ge 195 ] || fail "no pause before the register-38 write (${gaps[9]:-?} ms)"
    [ "${gaps[11]:-0}" -ge 195 ] || fail "no pause before the register-37 write (${gaps[11]:-?} ms)"
    expect_boxes <<<"$REPLUGIN_BOX"
    expect_references_balanced
    ;;
  volume-already-set)
    switch_package xp-x86 EnableXPAudioClass=1 EnableAudioVol=1
    driver_install video "USB K111 Device"
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_package
    expect_registers 0x50 0x00 0x01
    expect_file <(driver_calls) <<<"$DETECT_AND_READS"
    expect_boxes </dev/null
    ;;
  volume-needs-xp-class)
    # EnableAudioVol alone does nothing, and an XP-class register 8 of 0xD0
    # is already off.
    switch_package xp-x86 EnableAudioVol=1
    driver_install video "USB K111 Device"
    driver_state reg8=0xD0 reg37=0x05 reg38=0x00
    run_package
    expect_registers 0xD0 0x05 0x00
    expect_file <(driver_calls) <<<"$DETECT_AND_READS"
    expect_boxes </dev/null
    ;;
  warn-not-ready | warn-not-detected)
    # The device's warning comes first; the reads still decide, so the
    # switch's re-plug box follows, before the one MustRePlugin asks for.
    switch_package xp-x86 MustRePlugin=1
    driver_install video "USB K111 Device"
    if [ "$CASE" = warn-not-ready ]; then
      driver_state ready=0 reg8=0x50 reg37=0x00 reg38=0x01
      warning=$NOT_READY_BOX
    else
      driver_state detect=0x80004005 reg8=0x50 reg37=0x00 reg38=0x01
      warning=$NOT_DETECTED_BOX
    fi
    run_package
    expect_boxes <<EOF2
$warning
$REPLUGIN_BOX
$REPLUGIN_BOX
EOF2
    expect_registers 0xD0 0x00 0x01
    if [ "$CASE" = warn-not-ready ]; then
      expect_eq "" "$(driver_calls | grep '^get 4115')" "detection asked of a device not ready"
    fi
    expect_references_balanced
    ;;
  failing-transfer)
    # Register 38 cannot be read: the transfer is reset and nothing is
    # written, not even the register-8 write EnableXPAudioClass asks for;
    # only the requested node removal asks for the re-plug.
    switch_package xp-x86 EnableXPAudioClass=1 EnableAudioVol=1 DelAudioRegKey=1 DelAudioRegKeyMessage=1
    driver_install video "USB K111 Device"
    driver_state readfail=38 reg8=0xD0 reg37=0x05 reg38=0x00
    run_package
    expect_registers 0xD0 0x05 0x00
    expect_file <(driver_calls | tail -n 3) <<'EOF2'
set 4103 0x01A02601 -> 0x00000000
get 4104 -> 0x80004005
set 4103 0x00000000 -> 0x00000000
EOF2
    expect_eq 0 "$(driver_calls | grep -c '^set 4104')" "register writes"
    expect_boxes <<<"$REPLUGIN_BOX"
    expect_references_balanced
    ;;
  no-driver | no-interface)
    # No driver registered, or a filter without the driver's interface: the
    # connection does not open, so the switch reads, writes and shows
    # nothing, even with DelAudioRegKeyMessage on. The one re-plug box is
    # MustRePlugin's.
    switch_package xp-x86 DelAudioRegKey=1 DelAudioRegKeyMessage=1 MustRePlugin=1
    if [ "$CASE" = no-driver ]; then
      driver_state reg8=0x50 reg37=0x00 reg38=0x01
    else
      driver_install video "USB K111 Device"
      driver_state nointerface=1 reg8=0x50 reg37=0x00 reg38=0x01
    fi
    run_package
    expect_driver_setup_ran xp-x86
    expect_registers 0x50 0x00 0x01
    expect_eq "" "$(driver_calls)" "property calls"
    expect_boxes <<<"$REPLUGIN_BOX"
    [ "$CASE" = no-interface ] && expect_references_balanced
    ;;
  fallback-name)
    # The registry names a filter that is not there; the device is found
    # under one of the fallback names.
    switch_package xp-x86
    driver_filter_name RealDSName "Other Tuner"
    driver_install video "USB K104 Device"
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_package
    expect_registers 0xD0 0x00 0x01
    expect_boxes <<<"$REPLUGIN_BOX"
    expect_references_balanced
    ;;
  bda-category)
    # A filter listed only in the BDA receiver category.
    switch_package vista-x86 EnableAudioClass=1
    driver_install bda "USB K111 Device"
    driver_state reg8=0xD0 reg37=0x00 reg38=0x01
    run_package
    expect_registers 0x50 0x00 0x01
    expect_boxes <<<"$REPLUGIN_BOX"
    expect_references_balanced
    ;;
  registry-name)
    # "DSName" names the filter by the start of its friendly name.
    switch_package xp-x86
    driver_filter_name DSName "Varlink Tuner"
    driver_install video "Varlink Tuner 2"
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_package
    expect_registers 0xD0 0x00 0x01
    expect_boxes <<<"$REPLUGIN_BOX"
    ;;
  registry-name-case)
    # Letter case counts: "varlink tuner" is not "Varlink Tuner".
    switch_package xp-x86
    driver_filter_name DSName "Varlink Tuner"
    driver_install video "varlink tuner"
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_package
    expect_registers 0x50 0x00 0x01
    expect_eq "" "$(driver_calls)" "property calls"
    expect_boxes </dev/null
    ;;
  registry-name-256)
    # A name of exactly 256 bytes fills the value buffer with no terminator:
    # it is taken whole, and no further.
    switch_package xp-x86
    wine_reg add 'HKLM\Software\Varlink\BDA' /v RealDSName /t REG_BINARY \
      /d "$(printf '41%.0s' $(seq 256))" /f /reg:32
    driver_install video "$(printf 'A%.0s' $(seq 256)) #2"
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_package
    expect_registers 0xD0 0x00 0x01
    expect_boxes <<<"$REPLUGIN_BOX"
    ;;
  registry-name-too-long)
    # A "RealDSName" longer than its buffer is unreadable: "DSName" names
    # the filter instead.
    switch_package xp-x86
    driver_filter_name RealDSName "$(printf 'A%.0s' $(seq 300))"
    driver_filter_name DSName "Varlink Tuner"
    driver_install video "Varlink Tuner 2"
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_package
    expect_registers 0xD0 0x00 0x01
    expect_boxes <<<"$REPLUGIN_BOX"
    ;;
  registry-name-empty)
    # An empty "RealDSName" is a name, the start of every friendly name:
    # the capture filter is taken whatever it is called.
    switch_package xp-x86
    driver_filter_name RealDSName ""
    driver_filter_name DSName "Varlink Tuner"
    driver_install video "Some Capture"
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_package
    expect_registers 0xD0 0x00 0x01
    expect_boxes <<<"$REPLUGIN_BOX"
    ;;
  long-friendly-name)
    # A friendly name longer than its 260-byte buffer is no name: it does
    # not match, even though it begins with the wanted name.
    switch_package xp-x86
    driver_install video "USB K111 Device $(printf 'x%.0s' $(seq 300))"
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_package
    expect_registers 0x50 0x00 0x01
    expect_driver_untouched
    expect_boxes </dev/null
    # The longest name that fits (259 characters) does match.
    driver_list video "USB K111 Device $(printf 'x%.0s' $(seq 243))"
    run_package
    expect_registers 0xD0 0x00 0x01
    expect_boxes <<<"$REPLUGIN_BOX"
    ;;
  *)
    fail "unknown case $CASE"
    ;;
esac

wine_test_end
