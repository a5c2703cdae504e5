#!/usr/bin/env bash
# The launch sequence through the real Setup.exe: what it starts, in which
# order and with which command line, and which boxes it shows.
#   launch.sh CASE
source "$(dirname "$0")/../lib/package.sh"

case_name=$1
wine_test_begin "spine-$case_name"
PKG="$WT/pkg"
W=$(winpath "$PKG")

case $case_name in
  defaults-vista-x64 | defaults-vista-x86 | defaults-xp-x64 | defaults-xp-x86)
    # No Setting.ini: the variant's default folder and program, nothing else.
    variant=${case_name#defaults-}
    pkg_with_setups "$PKG"
    wine_variant "$variant"
    run_setup "$PKG"
    expect_eq 0 $? "exit status"
    folder=$(variant_folder "$variant")
    expect_file "$WT/started.log" <<OUT
start $W\\$folder\\SetupDrv.exe
end $W\\$folder\\SetupDrv.exe
OUT
    expect_file "$WT/boxes.log" </dev/null
    ;;

  silent-argument | silent-setting)
    # Silent by the command-line word, or by SilenceMode: every started
    # command ends in " Silence"; an update package gets nothing.
    pkg_with_setups "$PKG"
    pkg_standin "$PKG/tools/tool.exe"
    touch "$PKG/tools/fix.msu"
    msu_association "$WT/handler/msu-handler.exe"
    silence=0
    [ "$case_name" = silent-setting ] && silence=2
    pkg_settings "$PKG" <<INI
[Const]
SilenceMode=$silence
AnotherAPNum=2
AnotherAPXPx86Exe0=tools\\fix.msu
AnotherAPXPx86Exe1=tools\\tool.exe
INI
    wine_variant xp-x86
    if [ "$case_name" = silent-argument ]; then run_setup "$PKG" S; else run_setup "$PKG"; fi
    handler=$(winpath "$WT/handler/msu-handler.exe")
    grep -qxF "start $W\\XP_x86\\SetupDrv.exe Silence" "$WT/started.log" || fail "driver setup not started silently"
    grep -qxF "start $W\\tools\\tool.exe 0 Silence" "$WT/started.log" || fail "further program not started silently"
    grep -qxF "start \"$handler\" \"$W\\tools\\fix.msu\"" "$WT/started.log" || fail "update package not opened plainly"
    expect_file "$WT/boxes.log" </dev/null
    ;;

  no-setup-path)
    # An empty setup program: the NoSetupPath box, then the rest as usual.
    pkg_with_setups "$PKG"
    pkg_standin "$PKG/after.exe"
    pkg_settings "$PKG" <<'INI'
[Const]
SetupVistax64Exe=
Setup=Driver Setup
AnotherAPNum=1
AnotherAPVistax64Exe0=after.exe
LaunchAnotherAPParam=-q
INI
    wine_variant vista-x64
    run_setup "$PKG"
    expect_eq 1 $? "exit status (no driver setup)"
    expect_file "$WT/boxes.log" <<'OUT'
Driver Setup|The driver of this version does not support this operating system.
OUT
    expect_file "$WT/started.log" <<OUT
start $W\\after.exe -q
end $W\\after.exe -q
OUT
    ;;

  finish-missing | finish-1 | finish-2 | finish-1-x64)
    # CheckFinishInstall: the re-plug box and the further programs only
    # when the mark reads 1 (under Wow6432Node on a 64-bit system).
    pkg_with_setups "$PKG"
    pkg_standin "$PKG/extra.exe"
    pkg_settings "$PKG" <<'INI'
[Const]
CheckFinishInstall=1
MustRePlugin=1
RePlugin=Plug it in again
AnotherAPNum=1
AnotherAPXPx86Exe0=extra.exe
AnotherAPXPx64Exe0=extra.exe
INI
    if [ "$case_name" = finish-1-x64 ]; then
      wine_variant xp-x64
      folder=XP_x64
      wine_reg add 'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion' /v FinishInstall /t REG_DWORD /d 1 /f /reg:64
    else
      wine_variant xp-x86
      folder=XP_x86
      case $case_name in
        finish-1) finish_install_mark 32 1 ;;
        finish-2) finish_install_mark 32 2 ;;
      esac
    fi
    run_setup "$PKG"
    status=$?
    case $case_name in
      finish-1 | finish-1-x64) expect_eq 0 "$status" "exit status (mark found)" ;;
      *) expect_eq 4 "$status" "exit status (mark missing)" ;;
    esac
    case $case_name in
      finish-1 | finish-1-x64)
        expect_file "$WT/boxes.log" <<'OUT'
SetupDrv|Plug it in again
OUT
        expect_file "$WT/started.log" <<OUT
start $W\\$folder\\SetupDrv.exe
end $W\\$folder\\SetupDrv.exe
start $W\\extra.exe 0
end $W\\extra.exe 0
OUT
        ;;
      *)
        expect_file "$WT/boxes.log" </dev/null
        expect_file "$WT/started.log" <<OUT
start $W\\$folder\\SetupDrv.exe
end $W\\$folder\\SetupDrv.exe
OUT
        ;;
    esac
    ;;

  must-replugin)
    pkg_with_setups "$PKG"
    pkg_settings "$PKG" <<'INI'
[Const]
MustRePlugin=1
INI
    wine_variant vista-x86
    run_setup "$PKG"
    # The launcher's own boxes show no icon (the device warnings do).
    expect_file "$WT/boxes-detail.log" <<'OUT'
SetupDrv|Please Re-Plugin the USB device on your computer.|icon=no
OUT
    ;;

  update-then-program)
    # The update package is handed to the shell and not waited for: the
    # next program starts while the (slow) update installer still runs.
    pkg_with_setups "$PKG"
    pkg_standin "$PKG/next.exe"
    touch "$PKG/update.msu"
    msu_association "$WT/handler/msu-handler.exe" 4000
    pkg_settings "$PKG" <<'INI'
[Const]
AnotherAPNum=2
AnotherAPVistax86Exe0=update.msu
AnotherAPVistax86Exe1=next.exe
INI
    wine_variant vista-x86
    run_setup "$PKG"
    handler=$(winpath "$WT/handler/msu-handler.exe")
    # Both the installer and next.exe are running when they write their
    # start lines, so those two may come in either order; what shows that
    # nothing waited for the installer is next.exe ending before it does.
    head -n 2 "$WT/started.log" >"$WT/setup-lines"
    tail -n +3 "$WT/started.log" | grep -v '^start ' >"$WT/end-lines"
    tail -n +3 "$WT/started.log" | grep '^start ' | sort >"$WT/start-lines"
    expect_file "$WT/setup-lines" <<OUT
start $W\\Vista_x86\\SetupDrv.exe
end $W\\Vista_x86\\SetupDrv.exe
OUT
    expect_file "$WT/end-lines" <<OUT
end $W\\next.exe 0
end "$handler" "$W\\update.msu"
OUT
    expect_file "$WT/start-lines" <<OUT
start "$handler" "$W\\update.msu"
start $W\\next.exe 0
OUT
    ;;

  missing-program)
    # A program that is not there: one "CreateProcess failed." box, and the
    # loop goes on with the next entry.
    pkg_with_setups "$PKG"
    pkg_standin "$PKG/second.exe"
    pkg_settings "$PKG" <<'INI'
[Const]
Setup=Pkg
AnotherAPNum=2
AnotherAPXPx86Exe0=nothere.exe
AnotherAPXPx86Exe1=second.exe
INI
    wine_variant xp-x86
    run_setup "$PKG"
    expect_eq 2 $? "exit status (a program not started)"
    expect_file "$WT/boxes.log" <<'OUT'
Pkg|CreateProcess failed.
OUT
    expect_file "$WT/started.log" <<OUT
start $W\\XP_x86\\SetupDrv.exe
end $W\\XP_x86\\SetupDrv.exe
start $W\\second.exe 0
end $W\\second.exe 0
OUT
    ;;

  writes-nothing)
    # A full run changes no registry value and writes no file, in the
    # package or on drive C.
    pkg_with_setups "$PKG"
    pkg_standin "$PKG/tool.exe"
    touch "$PKG/update.msu"
    msu_association "$WT/handler/msu-handler.exe"
    pkg_settings "$PKG" <<'INI'
[Const]
CheckFinishInstall=1
MustRePlugin=1
DeviceIDNum=1
DevDrvID0=USB\VID_1D19&PID_6108
EnableAudioClass=1
AnotherAPNum=3
AnotherAPVistax64Exe0=update.msu
AnotherAPVistax64Exe1=tool.exe
AnotherAPVistax64Exe2=missing.exe
INI
    wine_variant vista-x64
    wine_reg add 'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion' /v FinishInstall /t REG_DWORD /d 1 /f /reg:64
    snapshot before "$PKG"
    run_setup "$PKG"
    snapshot after "$PKG"
    expect_same_snapshot before after
    grep -qxF "start $W\\tool.exe 0" "$WT/started.log" || fail "the run did not get to its further programs"
    ;;

  renamed-launcher)
    # The launcher renamed: its folder is still the package folder.
    pkg_with_setups "$PKG"
    mv "$PKG/Setup.exe" "$PKG/DriverSetup.exe"
    wine_variant xp-x86
    SETUP_EXE=DriverSetup.exe run_setup "$PKG"
    expect_file "$WT/started.log" <<OUT
start $W\\XP_x86\\SetupDrv.exe
end $W\\XP_x86\\SetupDrv.exe
OUT
    ;;

  blank-in-folder)
    # A blank in the package folder: the command line stays unquoted as
    # built, yet the program inside the package is the one that starts,
    # not a planted "My.exe" beside the package.
    PKG="$WT/My Pkg"
    W=$(winpath "$PKG")
    pkg_with_setups "$PKG"
    pkg_standin "$WT/My.exe"
    pkg_standin "$PKG/tool.exe"
    pkg_settings "$PKG" <<'INI'
[Const]
AnotherAPNum=1
AnotherAPXPx86Exe0=tool.exe
INI
    wine_variant xp-x86
    run_setup "$PKG"
    expect_file "$WT/who.log" <<OUT
$W\\XP_x86\\SetupDrv.exe|$W\\XP_x86\\SetupDrv.exe
$W\\tool.exe|$W\\tool.exe 0
OUT
    expect_file "$WT/boxes.log" </dev/null
    ;;

  bad-utf16 | bad-binary | bad-huge)
    # Settings files no author meant to write: the run still goes to its
    # end, with the defaults where nothing readable was found.
    pkg_with_setups "$PKG"
    pkg_standin "$PKG/last.exe"
    case $case_name in
      bad-utf16)
        printf '[Const]\r\nSetup=Wide\r\n' | iconv -f UTF-8 -t UTF-16 >"$PKG/Setting.ini"
        want_setup="$W\\XP_x86\\SetupDrv.exe"
        ;;
      bad-binary)
        { printf '[Const]\r\nAnotherAPNum=1\r\nAnotherAPXPx86Exe0=last.exe\r\n'
          head -c 20000 /dev/urandom | tr -d '\n\r[='
          printf '\r\nSetup=a\0b\r\n'; } >"$PKG/Setting.ini"
        want_setup="$W\\XP_x86\\SetupDrv.exe"
        ;;
      bad-huge)
        { printf '[Const]\r\nDeviceIDNum=2147483647\r\nAnotherAPNum=-2147483648\r\n'
          printf 'WaitTimer=99999999999999999999\r\nAnotherAPNum=7\r\n'
          printf 'NoSetupPath=%s\r\n' "$(head -c 10000 /dev/zero | tr '\0' x)"
          printf 'Junk=%s\r\n' "$(head -c 100000 /dev/zero | tr '\0' y)"
          printf 'SetupXPx86Path=%s\r\n' "$(head -c 10000 /dev/zero | tr '\0' p)"; } >"$PKG/Setting.ini"
        want_setup=""
        ;;
    esac
    wine_variant xp-x86
    run_setup "$PKG"
    status=$?
    [ "$status" -lt 100 ] || fail "Setup.exe ended with status $status"
    if [ -n "$want_setup" ]; then
      grep -qxF "start $want_setup" "$WT/started.log" || fail "the default driver setup did not start"
    else
      # The folder text is cut to 255 characters: no such folder, one box.
      expect_file "$WT/boxes.log" <<'OUT'
SetupDrv|CreateProcess failed.
OUT
    fi
    if [ "$case_name" = bad-binary ]; then
      grep -qxF "start $W\\last.exe 0" "$WT/started.log" || fail "the run did not reach its further program"
    fi
    ;;

  deep-path)
    # A package 500 characters deep: paths are held whole.
    deep="$WT"
    while [ ${#deep} -lt 470 ]; do deep="$deep/abcdefghijklmnopqrstuvwxy"; done
    PKG="$deep/pkg"
    W=$(winpath "$PKG")
    pkg_with_setups "$PKG"
    wine_variant xp-x86
    run_setup "$PKG"
    status=$?
    [ "$status" -lt 100 ] || fail "Setup.exe ended with status $status"
    # Whether the system starts a program this deep is its own affair; the
    # launcher either started it or said it could not.
    if ! grep -qxF "start $W\\XP_x86\\SetupDrv.exe" "$WT/started.log"; then
      expect_file "$WT/boxes.log" <<'OUT'
SetupDrv|CreateProcess failed.
OUT
    fi
    ;;

  *)
    fail "unknown case $case_name"
    ;;
esac

wine_test_end
