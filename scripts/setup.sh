#!/usr/bin/env bash
# Installs the Debian packages that are missing, as root.
#   scripts/setup.sh          what building and running the program need (./run.sh)
#   scripts/setup.sh --test   also what the tests, the fuzz targets and the package check need
#                             (./test.sh)
set -euo pipefail

# Building: the compiler and the development files of the libraries. Running: the fonts the
# wizard draws with (the libraries come with their -dev packages).
PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev
  libsqlite3-dev libssl-dev libpq-dev
  libcli11-dev
  mdbtools-dev
  fonts-dejavu-core fonts-dejavu-extra
)
if [ "${1:-}" = "--test" ]; then
  PACKAGES+=(
    libgtest-dev libgmock-dev # the unit tests
    clang-format              # the format check of the sources
    sqlite3 mdbtools          # the tests look into databases with sqlite3 and mdb-export
    postgresql                # the server tests start a throwaway PostgreSQL server (initdb)
    locales                   # the tests of the number format under other locales
    clang libclang-rt-14-dev  # the fuzz targets (libFuzzer)
    dpkg-dev lintian appstream desktop-file-utils # building and checking the Debian package
    # The wizard read by a screen reader's interface (AT-SPI) on a virtual display.
    xvfb xauth dbus dbus-x11 at-spi2-core python3-pyatspi
  )
fi

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
