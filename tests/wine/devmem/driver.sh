# The stand-in capture driver in a test prefix, and the I2C device behind it.
# Sourced by the devmem scenarios after tests/wine/lib/harness.sh and
# wine_test_begin (uses $WT, $WINBUILD and wine_reg).
#
#   driver_install [video|bda] [FriendlyName]   copy FakeCaptureDriver.dll to
#                                               $WT/driver, register it and list it
#   driver_list video|bda FriendlyName          list it (again) in a category
#   driver_state key=value...                   the device: reg8=0x50 ready=0 ...
#   driver_register N                           a register's byte now, "0xD0"
#   driver_calls                                the property calls made so far
#   driver_filter_name RealDSName|DSName TEXT   the driver's registry key
#   run_switch IsVista EnableXPAudioClass EnableAudioVol DelAudioRegKey DelAudioRegKeyMessage
#                                               one audio-class switch; output in
#                                               $WT/switch.out, boxes in $WT/boxes.log

DRIVER_CLSID='{6E1F1B3A-2C4D-4F5E-9A8B-7C6D5E4F3A21}'
VIDEO_INPUT_CATEGORY='{860BB310-5D01-11D0-BD3B-00A0C911CE86}'
BDA_RECEIVER_CATEGORY='{FD0A5AF4-B41D-11D2-9C95-00C04F7971E0}'

driver_dir() { printf '%s/driver' "$WT"; }

driver_category_guid() {
  case "$1" in
    video) printf '%s' "$VIDEO_INPUT_CATEGORY" ;;
    bda) printf '%s' "$BDA_RECEIVER_CATEGORY" ;;
    *) echo "driver.sh: unknown category $1" >&2; return 1 ;;
  esac
}

driver_list() {
  local guid
  guid=$(driver_category_guid "$1") || return 1
  # The launcher is a 32-bit process: its DirectShow enumerator reads the
  # 32-bit view of HKCR.
  wine_reg add "HKCR\\CLSID\\$guid\\Instance\\$DRIVER_CLSID" /v FriendlyName /d "$2" /f /reg:32 &&
    wine_reg add "HKCR\\CLSID\\$guid\\Instance\\$DRIVER_CLSID" /v CLSID /d "$DRIVER_CLSID" /f /reg:32
}

driver_install() {
  local category=${1:-video} name=${2:-USB K111 Device} dir
  dir=$(driver_dir)
  mkdir -p "$dir"
  cp "$WINBUILD/tests/FakeCaptureDriver.dll" "$dir/" || { fail "no FakeCaptureDriver.dll in $WINBUILD/tests"; return 1; }
  [ -f "$dir/i2c-state.txt" ] || : >"$dir/i2c-state.txt"
  wine_reg add "HKCR\\CLSID\\$DRIVER_CLSID\\InprocServer32" /ve /d "$(winpath "$dir/FakeCaptureDriver.dll")" /f /reg:32 &&
    wine_reg add "HKCR\\CLSID\\$DRIVER_CLSID\\InprocServer32" /v ThreadingModel /d Both /f /reg:32 &&
    driver_list "$category" "$name"
}

# Replaces the device's state: registers as regN=VALUE, and ready=,
# detect=, readfail=, writefail=, nointerface= (see the driver's source).
driver_state() {
  local dir
  dir=$(driver_dir)
  mkdir -p "$dir"
  printf '%s\n' "$@" >"$dir/i2c-state.txt"
}

driver_register() {
  local line
  line=$(grep -i "^reg$1=" "$(driver_dir)/i2c-state.txt" 2>/dev/null | tail -n 1)
  if [ -z "$line" ]; then
    printf 'none'
  else
    printf '0x%02X' "$((${line#*=}))"
  fi
}

driver_calls() {
  cat "$(driver_dir)/i2c-calls.log" 2>/dev/null
}

driver_filter_name() {
  wine_reg add 'HKLM\Software\Varlink\BDA' /v "$1" /d "$2" /f /reg:32
}

# ---- running the switch ---------------------------------------------------
# Until Setup.exe carries the switch, devmem-probe.exe runs it through the
# real adapters with the harness's box answerer, the inputs given as
# numbers. The scenarios look at the switch only through the functions
# below, so pointing them at Setup.exe means rewriting these alone:
# run_switch would set the Windows version from IsVista (winxp / win7),
# write Setting.ini (EnableAudioClass=1 on Vista, the four other keys) and
# run_setup; switch_result would be 1 when the RePlugin box was shown;
# switch_removals would count removed device nodes; switch_pauses has no
# counterpart there and may be dropped.
run_switch() {
  local pkg="$WT/pkg" status=0
  mkdir -p "$pkg"
  cp "$WINBUILD/tests/devmem-probe.exe" "$pkg/" || { fail "no devmem-probe.exe in $WINBUILD/tests"; return 1; }
  rm -f "$pkg/switch.out"
  SETUP_EXE=devmem-probe.exe run_setup "$pkg" "$@" || status=$?
  cp "$pkg/switch.out" "$WT/switch.out" 2>/dev/null || : >"$WT/switch.out"
  echo "$status" >"$WT/switch.result"
  [ "$status" = 0 ] || [ "$status" = 1 ] || fail "the switch ended with status $status"
}

# 1 when the user is to be asked to re-plug the device, else 0.
switch_result() { cat "$WT/switch.result" 2>/dev/null; }

# How many times device-node removal was asked for.
switch_removals() { grep -c '^RemoveMatchedDeviceNodes$' "$WT/switch.out"; }

# The pauses made, one "pause <ms>" a line.
switch_pauses() { grep '^pause ' "$WT/switch.out"; }

# The device layer's boxes, "caption|text|icon=yes" a line.
device_boxes() { grep '^Norvane Custom Property Demo|' "$WT/boxes-detail.log"; }

# "create"/"destroy" of every filter object the driver made.
driver_objects() {
  cat "$(driver_dir)/objects.log" 2>/dev/null
}
