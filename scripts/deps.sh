#!/usr/bin/env bash
# Installs the Debian packages Orvane needs to build, test and run.
set -euo pipefail
packages=(
  build-essential cmake ccache pkg-config
  qt6-base-dev qt6-pdf-dev libqt6pdfwidgets6 qt6-svg-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth xdotool imagemagick poppler-utils fonts-dejavu-core fonts-liberation2
  openbox dbus dbus-x11 at-spi2-core python3-pyatspi x11-utils procps
  clang libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
