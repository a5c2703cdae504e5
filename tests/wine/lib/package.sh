# Packages and systems for the scenarios: the four variants, a package with
# stand-in driver setups, Setting.ini, an update-package handler, the
# finished-install mark. Sourcing it brings the harness too.
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

# wine_variant vista-x64|vista-x86|xp-x64|xp-x86: the system the launcher sees.
wine_variant() {
  case $1 in
    vista-x64) wine_set_version win7; wine_set_64bit yes ;;
    vista-x86) wine_set_version win7; wine_set_64bit no ;;
    xp-x64) wine_set_version winxp; wine_set_64bit yes ;;
    xp-x86) wine_set_version winxp; wine_set_64bit no ;;
    *) fail "unknown variant $1"; return 1 ;;
  esac
}

variant_folder() {
  case $1 in
    vista-x64) echo Vista_x64 ;;
    vista-x86) echo Vista_x86 ;;
    xp-x64) echo XP_x64 ;;
    xp-x86) echo XP_x86 ;;
  esac
}

# A package with a stand-in driver setup in every variant's default folder.
pkg_with_setups() {
  pkg_new "$1"
  local v
  for v in Vista_x64 Vista_x86 XP_x64 XP_x86; do
    pkg_standin "$1/$v/SetupDrv.exe"
  done
}

# Setting.ini from standard input, with CR LF line ends as packages ship it.
pkg_settings() {
  sed 's/$/\r/' >"$1/Setting.ini"
}

# An association for ".msu": the shell's "open" starts the stand-in HANDLER
# with the file. SLEEP_MS makes it a slow installer.
msu_association() {
  local handler=$1 sleep_ms=${2:-0}
  pkg_standin "$handler"
  [ "$sleep_ms" != 0 ] && echo "$sleep_ms" >"$handler.sleep"
  local view
  for view in /reg:32 /reg:64; do
    wine_reg add 'HKCR\.msu' /ve /d TestUpdatePackage /f $view
    wine_reg add 'HKCR\TestUpdatePackage\shell\open\command' /ve /d "\"$(winpath "$handler")\" \"%1\"" /f $view
  done
}

# The finished-install mark where the 32-bit launcher reads it.
finish_install_mark() {
  local bits=$1 value=$2
  if [ "$bits" = 64 ]; then
    wine_reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v FinishInstall /t REG_DWORD /d "$value" /f /reg:64
    wine_reg add 'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion' /v FinishInstall /t REG_DWORD /d "$value" /f /reg:64
  else
    wine_reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v FinishInstall /t REG_DWORD /d "$value" /f /reg:32
  fi
}
