#!/usr/bin/env bash
# The closing dialog under Wine: whether it ends at once or arms its timer,
# and which buttons of the update installer's dialogs it presses.
#   completion.sh CASE
# The fake installer (tests/win32/fake-installer) puts up the dialogs and
# records every click it receives in $WT/installer.log; the dialog runs
# through run_completion, which gives its end code.
# The shared harness, with the launch scenarios' package helpers for the
# runs through Setup.exe.
source "$(dirname "$0")/../lib/package.sh"

case_name=${1:?case}
# The probe runs of a case get their own folder: both may run at once.
wine_test_begin "ui.${COMPLETION_VIA:-setup}.$case_name"

INSTALLER_LOG="$WT/installer.log"
: >"$INSTALLER_LOG"
INSTALLER_PID=""

# Starts the fake installer with the given shapes and waits (bounded) until
# its dialogs are up.
start_installer() {
  wine "$WINBUILD/tests/fake-installer.exe" "$(winpath "$INSTALLER_LOG")" "$@" >/dev/null 2>&1 &
  INSTALLER_PID=$!
  local i
  for i in $(seq 1 300); do
    grep -q '^ready ' "$INSTALLER_LOG" && return 0
    sleep 0.1
  done
  fail "the fake installer did not come up"
  return 1
}

# Waits (bounded, 10 s) until the installer log holds a line matching the
# pattern; the posted clicks are acted on after the dialog has ended.
wait_installer_line() {
  local i
  for i in $(seq 1 100); do
    grep -Eq "$1" "$INSTALLER_LOG" && return 0
    sleep 0.1
  done
  fail "no line /$1/ in the installer log"
  return 1
}

# The installer's clicks, without its own start and end lines, into
# $WT/clicks.log.
installer_clicks() {
  grep -E ' clicked | pressed ' "$INSTALLER_LOG" >"$WT/clicks.log"
}

# Runs the closing dialog with MsuOpened, EnableTimer and WaitTimer; sets
# ENDED (yes, or no when it did not end within COMPLETION_TIMEOUT seconds)
# and END_CODE (1 OK, 2 Cancel; empty when the runner cannot know it).
#
# COMPLETION_VIA=setup (the default): the real Setup.exe in a package whose
# Setting.ini sets EnableTimer and WaitTimer and, for MsuOpened, whose one
# further program is an update package the shell opens; its exit status
# reports the run, not the dialog, so only ENDED is known.
# COMPLETION_VIA=probe: dialog-probe.exe runs the same dialog exactly as
# the launch sequence's last step does and also gives its end code and
# what it saw from inside its loop (the main window, the caption icons).
: "${COMPLETION_TIMEOUT:=30}"
: "${COMPLETION_VIA:=setup}"
run_completion() {
  local status=0
  END_CODE=""
  if [ "$COMPLETION_VIA" = setup ]; then
    local pkg="$WT/pkg"
    rm -rf "$pkg"
    pkg_with_setups "$pkg"
    {
      printf '[Const]\nEnableTimer=%s\nWaitTimer=%s\n' "$2" "$3"
      if [ "$1" != 0 ]; then
        printf 'AnotherAPNum=1\nAnotherAPVistax86Exe0=update.msu\n'
      fi
    } | pkg_settings "$pkg"
    if [ "$1" != 0 ]; then
      touch "$pkg/update.msu"
      msu_association "$WT/handler/msu-handler.exe"
    fi
    wine_variant vista-x86
    (cd "$pkg" && timeout "$COMPLETION_TIMEOUT" wine "$pkg/Setup.exe" >/dev/null 2>&1) || status=$?
  else
    rm -f "$WT/probe.log"
    timeout "$COMPLETION_TIMEOUT" wine "$WINBUILD/tests/dialog-probe.exe" "$1" "$2" "$3" \
      "$(winpath "$WT/probe.log")" >/dev/null 2>&1 || status=$?
    if [ "$status" != 124 ]; then
      END_CODE=$status
      # The application's main window was the dialog's only while it ran.
      expect_eq "end $status main-window-after none" "$(tail -n1 "$WT/probe.log" 2>/dev/null)" "probe record"
    fi
  fi
  if [ "$status" = 124 ]; then ENDED=no; else ENDED=yes; fi
}

# The dialog ended by itself or by the user, with CODE where known.
expect_ended() {
  expect_eq yes "$ENDED" "the dialog ended"
  [ -n "$END_CODE" ] && expect_eq "$1" "$END_CODE" "end code"
  return 0
}

# Ends what is left of the installer and every other process of the prefix.
stop_all() {
  timeout 20 wineserver -k >/dev/null 2>&1
  [ -n "$INSTALLER_PID" ] && wait "$INSTALLER_PID" 2>/dev/null
  INSTALLER_PID=""
}

not_armed() {
  # A dialog the scan would press at its first tick (100 ms): it is never
  # pressed, because the dialog ends during its initialisation.
  start_installer cancel-only watch-drovik || return
  local started=$SECONDS
  run_completion "$@" 100
  expect_ended 1
  [ $((SECONDS - started)) -le 15 ] || fail "the dialog did not end at once"
  sleep 1
  stop_all
  installer_clicks
  expect_eq "" "$(cat "$WT/clicks.log")" "presses"
}

case "$case_name" in
  not-armed-no-update) not_armed 0 1 ;;
  not-armed-timer-off) not_armed 1 0 ;;
  not-armed-neither) not_armed 0 0 ;;

  armed-presses-both-shapes)
    # Pass 1 presses OK of the marked dialog and goes on; pass 2 presses
    # the pane's OK, which ends the dialog. A pane without an OK button is
    # passed over, its Cancel untouched.
    start_installer ok-cancel pane-no-ok pane watch-drovik || { wine_test_end; }
    # Half a second shown: long enough for the watcher to see it on a busy
    # machine.
    run_completion 1 1 500
    expect_ended 1
    wait_installer_line '^pane clicked 1$'
    stop_all
    installer_clicks
    expect_file "$WT/clicks.log" <<'LOG'
ok-cancel clicked 1
pane clicked 1
LOG
    # Shown until its first tick (it ends in that tick, so the moment it is
    # hidden is too short to be seen here; the next case sees it).
    grep -q '^drovik visible 1$' "$INSTALLER_LOG" || fail "the dialog was never seen shown"
    ;;

  armed-cancel-then-ok)
    # Cancel before OK: Cancel is pressed and ends the dialog, OK is
    # pressed as well in the same tick.
    start_installer cancel-ok || { wine_test_end; }
    run_completion 1 1 300
    expect_ended 1
    wait_installer_line '^cancel-ok clicked 1$'
    stop_all
    installer_clicks
    expect_file "$WT/clicks.log" <<'LOG'
cancel-ok clicked 2
cancel-ok clicked 1
LOG
    ;;

  armed-lone-cancel)
    start_installer cancel-only || { wine_test_end; }
    run_completion 1 1 300
    expect_ended 1
    wait_installer_line '^cancel-only clicked 2$'
    stop_all
    installer_clicks
    expect_file "$WT/clicks.log" <<'LOG'
cancel-only clicked 2
LOG
    ;;

  armed-no-match-keeps-running)
    # OK of the marked dialog is pressed (and closes it) without ending the
    # closing dialog, which then finds nothing and keeps scanning, hidden,
    # without ending by itself.
    start_installer ok-cancel watch-drovik || { wine_test_end; }
    COMPLETION_TIMEOUT=6 run_completion 1 1 500
    expect_eq no "$ENDED" "still running after 6 s"
    stop_all
    installer_clicks
    expect_file "$WT/clicks.log" <<'LOG'
ok-cancel clicked 1
LOG
    grep -q '^drovik visible 1$' "$INSTALLER_LOG" || fail "the dialog was never seen shown"
    grep -q '^drovik hidden 0$' "$INSTALLER_LOG" || fail "the dialog was not hidden"
    # It opened in the middle of the 1024 x 768 screen; while it ran it
    # carried icon 128 as its caption's big and small icon and was the
    # application's main window (the probe looks from inside its loop).
    if [ "$COMPLETION_VIA" = probe ]; then
      expect_eq "running icons 128 main-window dialog" "$(grep '^running ' "$WT/probe.log")" "running dialog"
    fi
    read -r x y w h < <(sed -n 's/^drovik at //p' "$INSTALLER_LOG")
    if [ -z "${h:-}" ] || [ $(( (2 * x + w - 1024) ** 2 )) -gt 4 ] || [ $(( (2 * y + h - 768) ** 2 )) -gt 4 ]; then
      fail "the dialog did not open centred: ${x:-?} ${y:-?} ${w:-?} ${h:-?}"
    fi
    ;;

  cancel-before-first-tick)
    # Armed with a long interval: the user's Cancel ends the run with
    # IDCANCEL before any scan, so the installer's dialog is not pressed.
    start_installer cancel-only press-drovik-cancel || { wine_test_end; }
    run_completion 1 1 60000
    expect_ended 2
    sleep 1
    stop_all
    installer_clicks
    expect_file "$WT/clicks.log" <<'LOG'
drovik pressed 2
LOG
    ;;

  *)
    fail "unknown case $case_name"
    ;;
esac

wine_test_end
