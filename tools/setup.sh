#!/usr/bin/env bash
# Installs what building, running and testing Pelliwick needs: Debian's
# packages through apt-get, the npm packages pinned in package-lock.json
# through npm ci. Does nothing when everything is already there.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-webengine-dev libgl-dev
  fonts-liberation2 fonts-dejavu-core xdg-utils
  xvfb xauth xdotool imagemagick libx11-dev
  dpkg-dev file desktop-file-utils libglib2.0-bin
)
command -v npm >/dev/null || packages+=(nodejs npm)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# npm ci starts from scratch; run it only when the lock file changed.
if [ -f package-lock.json ] &&
   [ ! node_modules/.package-lock.json -nt package-lock.json ]; then
  npm ci --no-audit --no-fund
fi
