#!/usr/bin/env bash
# The audio-class switch against the stand-in capture driver: what the
# device's registers, the message boxes and the re-plug result show.
#   switch.sh CASE
source "$(dirname "$0")/../lib/harness.sh"
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

# Every filter object made was released again: no reference outlived the switch.
expect_references_balanced() {
  local made gone
  made=$(driver_objects | grep -c '^create$')
  gone=$(driver_objects | grep -c '^destroy$')
  expect_eq "$made" "$gone" "filter objects destroyed"
  [ "$made" -ge 1 ] || fail "the driver's filter was never made"
}

expect_no_device_boxes() { expect_eq "" "$(device_boxes)" "device boxes"; }

case $CASE in
  xp-class-off)
    wine_set_version winxp
    driver_install video "USB K111 Device"
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_switch 0 0 0 0 0
    expect_eq 1 "$(switch_result)" "result"
    expect_eq 0xD0 "$(driver_register 8)" "register 8"
    expect_file <(driver_calls) <<EOF2
$DETECT_AND_READS
set 4103 0x01A00801 -> 0x00000000
set 4104 0x000000D0 -> 0x00000000
EOF2
    expect_eq 0 "$(switch_removals)" "node removals"
    expect_no_device_boxes
    expect_references_balanced
    ;;
  xp-class-already-off)
    wine_set_version winxp
    driver_install video "USB K111 Device"
    driver_state reg8=0xD0 reg37=0x00 reg38=0x01
    run_switch 0 0 0 0 0
    expect_eq 0 "$(switch_result)" "result"
    expect_eq 0xD0 "$(driver_register 8)" "register 8"
    expect_file <(driver_calls) <<<"$DETECT_AND_READS"
    expect_no_device_boxes
    ;;
  vista-class-on)
    wine_set_version win7
    driver_install video "USB K111 Device"
    driver_state reg8=0xD0 reg37=0x00 reg38=0x01
    run_switch 1 0 0 0 0
    expect_eq 1 "$(switch_result)" "result"
    expect_eq 0x50 "$(driver_register 8)" "register 8"
    expect_eq 0 "$(switch_removals)" "node removals"
    expect_no_device_boxes
    expect_references_balanced
    ;;
  xp-audio-class-on)
    # EnableXPAudioClass with DelAudioRegKey: removal before the write, and
    # again right after it.
    wine_set_version winxp
    driver_install video "USB K111 Device"
    driver_state reg8=0xD0 reg37=0x00 reg38=0x01
    run_switch 0 1 0 1 0
    expect_eq 1 "$(switch_result)" "result"
    expect_eq 0x50 "$(driver_register 8)" "register 8"
    expect_eq 2 "$(switch_removals)" "node removals"
    expect_no_device_boxes
    ;;
  volume-step)
    wine_set_version winxp
    driver_install video "USB K111 Device"
    driver_state reg8=0x50 reg37=0x05 reg38=0x00
    run_switch 0 1 1 0 0
    expect_eq 1 "$(switch_result)" "result"
    expect_eq 0x50 "$(driver_register 8)" "register 8"
    expect_eq 0x01 "$(driver_register 38)" "register 38"
    expect_eq 0x00 "$(driver_register 37)" "register 37"
    expect_file <(driver_calls) <<EOF2
$DETECT_AND_READS
set 4103 0x01A02601 -> 0x00000000
set 4104 0x00000001 -> 0x00000000
set 4103 0x01A02501 -> 0x00000000
set 4104 0x00000000 -> 0x00000000
EOF2
    expect_file <(switch_pauses) <<'EOF2'
pause 200
pause 200
EOF2
    expect_no_device_boxes
    expect_references_balanced
    ;;
  volume-already-set)
    wine_set_version winxp
    driver_install video "USB K111 Device"
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_switch 0 1 1 0 0
    expect_eq 0 "$(switch_result)" "result"
    expect_file <(driver_calls) <<<"$DETECT_AND_READS"
    ;;
  warn-not-ready)
    wine_set_version winxp
    driver_install video "USB K111 Device"
    driver_state ready=0 reg8=0x50 reg37=0x00 reg38=0x01
    run_switch 0 0 0 0 0
    expect_file <(device_boxes) <<'EOF2'
Norvane Custom Property Demo|I2C device was powered down or not ready|icon=yes
EOF2
    # The reads still decide.
    expect_eq 1 "$(switch_result)" "result"
    expect_eq 0xD0 "$(driver_register 8)" "register 8"
    expect_eq "" "$(driver_calls | grep '^get 4115')" "detection asked of a device not ready"
    expect_references_balanced
    ;;
  warn-not-detected)
    wine_set_version winxp
    driver_install video "USB K111 Device"
    driver_state detect=0x80004005 reg8=0x50 reg37=0x00 reg38=0x01
    run_switch 0 0 0 0 0
    expect_file <(device_boxes) <<'EOF2'
Norvane Custom Property Demo|I2C device not detected|icon=yes
EOF2
    expect_eq 1 "$(switch_result)" "result"
    expect_eq 0xD0 "$(driver_register 8)" "register 8"
    ;;
  failing-transfer)
    # Register 38 cannot be read: the transfer is reset, nothing is written,
    # only the requested node removal counts.
    wine_set_version winxp
    driver_install video "USB K111 Device"
    driver_state readfail=38 reg8=0x50 reg37=0x05 reg38=0x00
    run_switch 0 1 1 1 1
    expect_eq 1 "$(switch_result)" "result"
    expect_eq 0x50 "$(driver_register 8)" "register 8"
    expect_eq 0x00 "$(driver_register 38)" "register 38"
    expect_eq 0x05 "$(driver_register 37)" "register 37"
    expect_file <(driver_calls | tail -n 3) <<'EOF2'
set 4103 0x01A02601 -> 0x00000000
get 4104 -> 0x80004005
set 4103 0x00000000 -> 0x00000000
EOF2
    expect_eq 1 "$(switch_removals)" "node removals"
    expect_no_device_boxes
    expect_references_balanced
    ;;
  no-driver)
    # Nothing registered: the connection does not open; nothing is read,
    # written, removed or shown, even with DelAudioRegKey on.
    wine_set_version winxp
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_switch 0 0 0 1 1
    expect_eq 0 "$(switch_result)" "result"
    expect_eq 0x50 "$(driver_register 8)" "register 8"
    expect_eq "" "$(driver_calls)" "property calls"
    expect_eq 0 "$(switch_removals)" "node removals"
    expect_no_device_boxes
    ;;
  no-interface)
    # A filter that does not give the driver's interface ends the lookup.
    wine_set_version winxp
    driver_install video "USB K111 Device"
    driver_state nointerface=1 reg8=0x50 reg37=0x00 reg38=0x01
    run_switch 0 0 0 1 1
    expect_eq 0 "$(switch_result)" "result"
    expect_eq 0x50 "$(driver_register 8)" "register 8"
    expect_eq "" "$(driver_calls)" "property calls"
    expect_no_device_boxes
    expect_references_balanced
    ;;
  fallback-name)
    # The registry names a filter that is not there; the device is found as
    # one of the fallback names.
    wine_set_version winxp
    driver_filter_name RealDSName "Other Tuner"
    driver_install video "USB K104 Device"
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_switch 0 0 0 0 0
    expect_eq 1 "$(switch_result)" "result"
    expect_eq 0xD0 "$(driver_register 8)" "register 8"
    expect_references_balanced
    ;;
  bda-category)
    wine_set_version win7
    driver_install bda "USB K111 Device"
    driver_state reg8=0xD0 reg37=0x00 reg38=0x01
    run_switch 1 0 0 0 0
    expect_eq 1 "$(switch_result)" "result"
    expect_eq 0x50 "$(driver_register 8)" "register 8"
    expect_references_balanced
    ;;
  registry-name)
    # "DSName" names the filter by the start of its friendly name.
    wine_set_version winxp
    driver_filter_name DSName "Varlink Tuner"
    driver_install video "Varlink Tuner 2"
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_switch 0 0 0 0 0
    expect_eq 1 "$(switch_result)" "result"
    expect_eq 0xD0 "$(driver_register 8)" "register 8"
    ;;
  registry-name-case)
    # Letter case counts: "varlink tuner" is not "Varlink Tuner".
    wine_set_version winxp
    driver_filter_name DSName "Varlink Tuner"
    driver_install video "varlink tuner"
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_switch 0 0 0 0 0
    expect_eq 0 "$(switch_result)" "result"
    expect_eq "" "$(driver_calls)" "property calls"
    ;;
  registry-name-256)
    # A name of exactly 256 bytes fills the value buffer with no terminator:
    # it is taken whole, and no further.
    wine_set_version winxp
    wine_reg add 'HKLM\Software\Varlink\BDA' /v RealDSName /t REG_BINARY \
      /d "$(printf '41%.0s' $(seq 256))" /f /reg:32
    driver_install video "$(printf 'A%.0s' $(seq 256)) #2"
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_switch 0 0 0 0 0
    expect_eq 1 "$(switch_result)" "result"
    expect_eq 0xD0 "$(driver_register 8)" "register 8"
    ;;
  long-friendly-name)
    # A friendly name longer than its 260-byte buffer is no name: it does
    # not match, even though it begins with the wanted name.
    wine_set_version winxp
    driver_install video "USB K111 Device $(printf 'x%.0s' $(seq 300))"
    driver_state reg8=0x50 reg37=0x00 reg38=0x01
    run_switch 0 0 0 0 0
    expect_eq 0 "$(switch_result)" "result"
    expect_eq "" "$(driver_calls)" "property calls"
    expect_eq "" "$(driver_objects)" "filter objects"
    expect_no_device_boxes
    # The longest name that fits (259 characters) does match.
    driver_list video "USB K111 Device $(printf 'x%.0s' $(seq 243))"
    run_switch 0 0 0 0 0
    expect_eq 1 "$(switch_result)" "result with a name that fits"
    expect_eq 0xD0 "$(driver_register 8)" "register 8"
    ;;
  *)
    fail "unknown case $CASE"
    ;;
esac

wine_test_end
