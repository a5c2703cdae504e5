# The stand-in capture driver in a test prefix, the I2C device behind it,
# and a package whose Setup.exe runs the audio-class switch against it.
# Sourced by the devmem and devices scenarios after tests/wine/lib/package.sh
# and wine_test_begin (uses $WT, $WINBUILD and wine_reg).
#
#   driver_install [video|bda] [FriendlyName]   copy FakeCaptureDriver.dll to
#                                               $WT/driver, register it and list it
#   driver_list video|bda FriendlyName          list it (again) in a category
#   driver_state key=value...                   the device: reg8=0x50 ready=0 ...
#   driver_register N                           a register's byte now, "0xD0"
#   driver_calls                                the property calls made so far
#   driver_call_gaps                            per call, the milliseconds since the one before
#   driver_objects                              "create"/"destroy" of every filter object
#   driver_filter_name RealDSName|DSName TEXT   the driver's registry key
#   switch_package VARIANT KEY=VALUE...         $PKG: Setup.exe, a stand-in driver setup
#                                               in each variant's folder, Setting.ini
#                                               with the keys given; the system set to
#                                               VARIANT (xp-x86, xp-x64, vista-x86, vista-x64)
#   run_package                                 Setup.exe of $PKG, once
#   expect_driver_setup_ran VARIANT             the variant's setup started and ended
#   expect_boxes < LINES                        every box, "caption|text|icon=yes|no"

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
  cp "$WINBUILD/tests/FakeCaptureDriver.dll" "$WINBUILD/tests/FakeDriverSupport.dll" "$dir/" || { fail "no FakeCaptureDriver.dll in $WINBUILD/tests"; return 1; }
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

# ---- the package ----------------------------------------------------------
# The launcher's own boxes carry this caption (key Setup); the re-plug box
# is the RePlugin text under it, without an icon.
SETUP_CAPTION='Varlink Setup'
REPLUGIN_BOX="$SETUP_CAPTION|Please Re-Plugin the USB device on your computer.|icon=no"
NOT_READY_BOX='Norvane Custom Property Demo|I2C device was powered down or not ready|icon=yes'
NOT_DETECTED_BOX='Norvane Custom Property Demo|I2C device not detected|icon=yes'

switch_package() {
  local variant=$1
  shift
  PKG="$WT/pkg"
  pkg_with_setups "$PKG"
  wine_variant "$variant"
  { printf '[Const]\n'; printf 'Setup=%s\n' "$SETUP_CAPTION"; [ "$#" = 0 ] || printf '%s\n' "$@"; } | pkg_settings "$PKG"
}

run_package() {
  local status=0
  run_setup "$PKG" || status=$?
  [ "$status" = 0 ] || fail "Setup.exe ended with status $status"
}

expect_driver_setup_ran() {
  local cmd
  cmd="$(winpath "$PKG")\\$(variant_folder "$1")\\SetupDrv.exe"
  expect_file "$WT/started.log" <<EOF2
start $cmd
end $cmd
EOF2
}

expect_boxes() { expect_file "$WT/boxes-detail.log"; }

# Per property call, the milliseconds that passed since the call before it
# (0 for the first).
driver_call_gaps() {
  awk 'NR == 1 { prev = $1 } { print $1 - prev; prev = $1 }' "$(driver_dir)/i2c-ticks.log" 2>/dev/null
}

# "create"/"destroy" of every filter object the driver made.
driver_objects() {
  cat "$(driver_dir)/objects.log" 2>/dev/null
}
