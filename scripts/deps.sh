#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6sql6-sqlite qt6-pdf-dev
  libsqlite3-dev sqlite3 libsimpleini-dev libicu-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libxlsxwriter-dev python3-openpyxl
  liborcus-dev libfreexl-dev libzip-dev python3-xlwt python3-odf
  fonts-noto-cjk
  cups printer-driver-cups-pdf poppler-utils libcups2-dev
  desktop-file-utils appstream dpkg-dev util-linux clang-format
  postgresql libqt6sql6-psql
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Packages missing and not root: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
