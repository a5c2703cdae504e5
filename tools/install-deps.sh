#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine: the host
# toolchain with GoogleTest, mingw-w64 for the i686 Windows build, and Wine
# (32-bit included) with Xvfb for the end-to-end runs. Does nothing when all
# of it is already there. Needs root (apt-get).
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
pkg_ok() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have cmake || need+=(cmake)
have g++ || need+=(g++)
# The resource generators are built for the build machine with its cc.
have cc || need+=(gcc)
pkg_ok libgtest-dev || need+=(libgtest-dev)
have i686-w64-mingw32-g++ || need+=(g++-mingw-w64-i686)
pkg_ok binutils-mingw-w64-i686 || need+=(binutils-mingw-w64-i686)
have wine || need+=(wine)
pkg_ok wine32:i386 || need+=(wine32:i386)
pkg_ok wine64 || need+=(wine64)
have Xvfb || need+=(xvfb)
have xvfb-run || need+=(xvfb)

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" != 0 ]; then
  echo "install-deps: missing packages (${need[*]}); run as root to install them" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
