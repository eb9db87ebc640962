#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when any is missing.
set -euo pipefail

PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev
  libsqlite3-dev sqlite3 libssl-dev
  locales
  libgtest-dev libgmock-dev
  libcli11-dev
  mdbtools-dev mdbtools
  fonts-dejavu-core fonts-dejavu-extra
  clang libclang-rt-14-dev
  # The wizard read by a screen reader's interface (AT-SPI) on a virtual display.
  xvfb xauth dbus dbus-x11 at-spi2-core python3-pyatspi
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages. Install them as root with:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
