#!/usr/bin/env bash
# Installs the Debian packages Velmora needs, only those that are missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config dpkg-dev
  qt6-base-dev qt6-charts-dev qt6-l10n-tools libqt6opengl6-dev libqt6sql6-sqlite libqt6sql6-psql libpq-dev libqt6sql6-odbc tdsodbc
  libxlsxwriter-dev libfreexl-dev libzip-dev libexpat1-dev libsodium-dev libgtest-dev libsqlite3-dev
  fonts-thai-tlwg postgresql python3-openpyxl poppler-utils xvfb
  clang libclang-rt-14-dev clang-tidy-14
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
