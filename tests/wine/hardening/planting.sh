#!/usr/bin/env bash
# DLL planting: Setup.exe runs elevated from folders others can write to.
# DLLs named after those that the launcher or the system loads at run time
# on its behalf are planted beside Setup.exe, or in the current folder, and
# Wine is told to prefer such native DLLs the way Windows takes a DLL that
# is not a known DLL. A full run (driver setup, the device switch, an update
# package, a further program) must load none of them and still do all of
# its work.
#   planting.sh beside-exe|current-folder
source "$(dirname "$0")/../lib/package.sh"
source "$(dirname "$0")/../devmem/driver.sh"

# Loaded after Setup.exe's own code has started: by the launcher itself
# (setupapi), by the message boxes (uxtheme), by DirectShow's device
# enumeration on the way to the capture driver (devenum and what it pulls
# in), and by the shell. DLLs that Wine's own system DLLs import before any
# code of the program runs (version, imm32, shlwapi, ...) are not planted:
# on Windows those are known DLLs or not loaded at all, and nothing a
# program does can change what is loaded before it starts.
PLANTED="setupapi uxtheme devenum avicap32 dsound msdmo msacm32 winmm quartz cfgmgr32 propsys dwmapi comctl32 mpr"

where=$1
wine_test_begin "planting-$where"
PKG="$WT/pkg"
W=$(winpath "$PKG")
pkg_with_setups "$PKG"
pkg_standin "$PKG/tool.exe"
touch "$PKG/update.msu"
msu_association "$WT/handler/installer.exe"
pkg_settings "$PKG" <<'INI'
[Const]
DeviceIDNum=1
DevDrvID0=USB\VID_1D19&PID_6108
EnableAudioClass=1
DelAudioRegKey=1
AnotherAPNum=2
AnotherAPVistax86Exe0=update.msu
AnotherAPVistax86Exe1=tool.exe
INI
driver_install video "USB K111 Device"
driver_state reg8=0xD0 reg37=0 reg38=1
wine_variant vista-x86

case $where in
  beside-exe) plant_dir=$PKG ;;
  current-folder) plant_dir="$WT/downloads"; mkdir -p "$plant_dir"; export SETUP_CWD=$plant_dir ;;
  *) fail "unknown case $where"; wine_test_end ;;
esac
overrides=""
for dll in $PLANTED; do
  cp "$WINBUILD/tests/planted.dll" "$plant_dir/$dll.dll"
  overrides="$overrides${overrides:+,}$dll"
done
export PLANTED_LOG
PLANTED_LOG=$(winpath "$WT/planted.log")
: >"$WT/planted.log"
export WINEDLLOVERRIDES="mscoree,mshtml=;$overrides=n,b"

run_setup "$PKG"
expect_eq 0 $? "exit status"
expect_file "$WT/planted.log" </dev/null

# ...and the run did all of its work, the capture driver included: it is
# an in-proc server registered with its full path, and it loads only with
# its own FakeDriverSupport.dll found beside it.
expect_eq 0x50 "$(driver_register 8)" "register 8 after the switch"
expect_file "$WT/boxes.log" <<'OUT'
SetupDrv|Please Re-Plugin the USB device on your computer.
OUT
grep -qxF "start $W\\Vista_x86\\SetupDrv.exe" "$WT/started.log" || fail "driver setup not started"
grep -qxF "start $W\\tool.exe 0" "$WT/started.log" || fail "further program not started"
grep -qF "\"$W\\update.msu\"" "$WT/started.log" || fail "update package not opened"

# The planted DLLs are real bait: a program beside them that loads them by
# name, without the launcher's care, takes them.
unset SETUP_CWD
cp "$WINBUILD/tests/plain-loader.exe" "$plant_dir/"
(cd "$plant_dir" && timeout 60 wine "$plant_dir/plain-loader.exe" $PLANTED >/dev/null 2>&1)
timeout 60 wineserver -w
for dll in setupapi uxtheme devenum; do
  grep -qi "\\\\$dll.dll\$" "$WT/planted.log" || fail "the planted $dll.dll is not taken even without the launcher's care"
done

wine_test_end
