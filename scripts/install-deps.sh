#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the screenshots need
# (openbox, xdotool, imagemagick and xclip are for looking at the program
# under Xvfb).
# Safe to run again: it asks apt only for what is missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libfreetype-dev libfontconfig-dev libgtest-dev zlib1g-dev
  qt6-svg-dev help2man man-db dpkg-dev desktop-file-utils appstream
  # CPack's Debian generator finds the package's library dependencies with file.
  file
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation2
  xvfb xauth
  # The fuzzer: clang with libFuzzer and the sanitizers' runtime.
  clang libclang-rt-14-dev
  # The benchmarks: pv writes a pipe without copying, as a fast producer does.
  pv
  # For looking at the running program: a window manager, input and
  # screenshots on the virtual display, and its clipboard.
  openbox xdotool imagemagick xclip
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
