#!/usr/bin/env bash
# setup-check's dry run against the real Setup.exe: the same package on the
# same kind of Windows, and what each says was started, opened and shown,
# and the exit status Setup.exe ends with, must agree.
#   compare.sh SETUP_CHECK CASE
# CASE is PACKAGE-VARIANT: sample, tricky, finish, finishmark or audio, on vista-x64,
# vista-x86, xp-x64 or xp-x86.
source "$(dirname "$0")/../lib/package.sh"

setup_check=$1
case_name=$2
package=${case_name%-*-*}
variant=${case_name#"$package"-}
wine_test_begin "check.$case_name"

PKG=$WT/package
check_args=(--os "$variant")
setup_args=()
case $package in
  sample)
    # The repository's sample package, its programs replaced by stand-ins.
    cp -r "$SOURCE_DIR/samples/package" "$PKG"
    pkg_new "$PKG"
    grep -v '^#' "$PKG/STANDINS" | while read -r p; do [ -n "$p" ] && pkg_standin "$PKG/$p"; done
    ;;
  tricky)
    # What authors get wrong: a missing setup, an empty setup program, an
    # update package in capitals, a skipped entry, a blank in a program
    # text; run silent.
    pkg_new "$PKG"
    pkg_standin "$PKG/Vista_x64/SetupDrv.exe"
    pkg_standin "$PKG/XP_x86/Drv Setup.exe"
    pkg_standin "$PKG/tools/first.exe"
    pkg_standin "$PKG/tools/last.exe"
    touch "$PKG/tools/kb.MSU" "$PKG/tools/kb.msu"
    pkg_settings "$PKG" <<'INI'
[Const]
Setup = "Tricky Setup"
setupxpx64exe=
SetupXPx86Exe=Drv Setup.exe
AnotherAPNum=4
AnotherAPVistax64Exe0=tools\kb.MSU
AnotherAPVistax64Exe2=tools\kb.msu
AnotherAPVistax64Exe3=tools\last.exe
AnotherAPVistax86Exe0=tools\first.exe
AnotherAPXPx64Exe1=tools\first.exe
AnotherAPXPx86Exe0=tools\missing.exe
AnotherAPXPx86Exe3=tools\last.exe
LaunchAnotherAPParam=-q
MustRePlugin=1
INI
    setup_args=(s)
    check_args+=(--silent)
    ;;
  finish | finishmark)
    # The further programs wait for the finished-install mark: absent from
    # the prefix, or left there as the driver setup would (finishmark).
    pkg_with_setups "$PKG"
    pkg_standin "$PKG/after.exe"
    pkg_settings "$PKG" <<'INI'
[Const]
CheckFinishInstall=1
MustRePlugin=1
AnotherAPNum=1
AnotherAPVistax64Exe0=after.exe
AnotherAPVistax86Exe0=after.exe
AnotherAPXPx64Exe0=after.exe
AnotherAPXPx86Exe0=after.exe
INI
    if [ "$package" = finishmark ]; then
      case $variant in *-x64) finish_install_mark 64 1 ;; *) finish_install_mark 32 1 ;; esac
      check_args+=(--finish-install yes)
    else
      check_args+=(--finish-install absent)
    fi
    ;;
  audio)
    # The audio-class switch against the stand-in capture driver, its I2C
    # memory holding the registers below.
    source "$(dirname "$0")/../devmem/driver.sh"
    pkg_with_setups "$PKG"
    case $variant in
      xp-x86) settings=(); registers=(0x50 0x00 0x01) ;;
      xp-x64) settings=(EnableXPAudioClass=1 EnableAudioVol=1); registers=(0xD0 0x05 0x00) ;;
      vista-x64) settings=(EnableAudioClass=1); registers=(0xD0 0x00 0x01) ;;
      vista-x86) settings=(EnableAudioClass=1); registers=(0x50 0x00 0x01) ;;
    esac
    { echo '[Const]'; echo 'Setup=Audio Setup'; printf '%s\n' "${settings[@]}"; } | pkg_settings "$PKG"
    driver_install video "USB K111 Device"
    driver_state "reg8=${registers[0]}" "reg37=${registers[1]}" "reg38=${registers[2]}"
    check_args+=(--capture-device "${registers[0]},${registers[1]},${registers[2]}")
    ;;
  *)
    fail "unknown package $package"
    wine_test_end
    ;;
esac

# Vista-class Windows opens ".msu" with its update installer; XP-class
# Windows has none (setup-check assumes the same).
installer="$WT/installer/wusa.exe"
case $variant in vista-*) msu_association "$installer" ;; esac
wine_variant "$variant"
setup_status=0
run_setup "$PKG" "${setup_args[@]}" || setup_status=$?

# What Setup.exe did: programs started (in order), packages the update
# installer was given (in any order: it runs alongside), boxes (in order).
handler="\"$(winpath "$installer")\" "
grep '^start ' "$WT/started.log" | sed 's/^start //' | grep -vF "$handler" >"$WT/setup.starts"
grep '^start ' "$WT/started.log" | sed 's/^start //' | grep -F "$handler" |
  sed -e "s/^\"[^\"]*\" \"//" -e 's/"$//' | sort >"$WT/setup.opens"
cp "$WT/boxes.log" "$WT/setup.boxes"

# What setup-check says the same run does.
"$setup_check" --trace "${check_args[@]}" "$PKG" >"$WT/check.trace"
sed -n 's/^start //p' "$WT/check.trace" >"$WT/check.starts"
sed -n 's/^open //p' "$WT/check.trace" | sort >"$WT/check.opens"
sed -n 's/^box //p' "$WT/check.trace" >"$WT/check.boxes"

expect_eq "$(sed -n 's/^exit //p' "$WT/check.trace")" "$setup_status" "Setup.exe's exit status"
for what in starts opens boxes; do
  if ! cmp -s "$WT/setup.$what" "$WT/check.$what"; then
    fail "$what differ (< Setup.exe, > setup-check)"
    diff "$WT/setup.$what" "$WT/check.$what" | sed 's/^/    /' >&2
  fi
done
# The device's memory ends as setup-check says the writes leave it.
if [ "$package" = audio ]; then
  i=0
  for reg in 8 37 38; do
    want=$(sed -n "s/^write $reg //p" "$WT/check.trace" | tail -n 1)
    [ -n "$want" ] || want=$(printf '0x%02X' "$((registers[i]))")
    expect_eq "$want" "$(driver_register $reg)" "register $reg"
    i=$((i + 1))
  done
fi
# The comparison must have had something to compare.
[ -s "$WT/setup.starts" ] || [ -s "$WT/setup.boxes" ] || fail "Setup.exe started nothing and showed nothing"
wine_test_end
