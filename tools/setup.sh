#!/usr/bin/env bash
# Installs what a make target needs: Debian's packages through apt-get (with
# sudo when not root), the npm packages pinned in package-lock.json through
# npm ci. Does nothing when everything is already there. When something cannot
# be installed, it says in one line what is missing and how to get it, and
# fails.
# Usage: tools/setup.sh run|test|bench|artwork|package
set -euo pipefail
cd "$(dirname "$0")/.."

# The Debian release, read from os-release (PELLIWICK_OS_RELEASE names
# another file), says which package names to ask for. A system the set-up does
# not know gets the names of the nearest release it knows, and is told so.
while IFS='=' read -r key value; do
  value=${value//\"/}
  case $key in
  ID) id=$value ;;
  VERSION_ID) version=$value ;;
  PRETTY_NAME) system=$value ;;
  esac
done 2>/dev/null <"${PELLIWICK_OS_RELEASE:-/etc/os-release}" || true
case "${id:-}:${version:-}" in
debian:12 | debian:13) release=$version ;;
*)
  release=13
  [ "${id:-}" != debian ] || [[ ! ${version:-} =~ ^[0-9]+$ ]] || [ "$version" -gt 12 ] || release=12
  echo "$0: this is ${system:-${id:-a system without /etc/os-release}}; the set-up knows Debian 12 and 13, and goes on with the package names of Debian $release" >&2
  ;;
esac
# Debian 12's Liberation fonts of today are fonts-liberation2 (its
# fonts-liberation is the older 1.x); Debian 13 has them as fonts-liberation
# and keeps fonts-liberation2 only as a transitional package.
fonts=(fonts-liberation2)
[ "$release" -eq 12 ] || fonts=(fonts-liberation)

# Building and running the program, and the demo library's games (Haxe).
run=(cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-webengine-dev libgl-dev
  "${fonts[@]}" xdg-utils haxe)
# Node's own npm, where there is one, will do.
command -v npm >/dev/null || run+=(nodejs npm)
# The artwork's lettering.
artwork=(fonts-dejavu-core)
# Making and checking the package.
package=(dpkg-dev file)
# A private X server, input and screenshots, for the tests and benchmarks.
screen=(xvfb xauth xdotool imagemagick libx11-dev)
# What the player is measured against: the same engine in a Chromium tab, read
# through its DevTools protocol by Node (whose WebSocket client the benchmark
# uses), its page served by Python; and a busy machine, two cores of CPU hogs.
browser=(chromium python3 stress-ng)
command -v node >/dev/null || browser+=(nodejs)
# A sound server whose sink the tests measure.
sound=(pulseaudio pulseaudio-utils)
# The tests' own checks: desktop entries, the package and its metainfo, other
# CPUs, the writes to a folder.
checks=(desktop-file-utils libglib2.0-bin lintian appstream man-db qemu-user inotify-tools)

case "${1:-}" in
run) packages=("${run[@]}") ;;
artwork) packages=("${run[@]}" "${artwork[@]}") ;;
package) packages=("${run[@]}" "${package[@]}") ;;
bench) packages=("${run[@]}" "${screen[@]}" "${browser[@]}") ;;
test) packages=("${run[@]}" "${artwork[@]}" "${package[@]}" "${screen[@]}" "${sound[@]}" "${checks[@]}") ;;
*)
  echo "usage: $0 run|test|bench|artwork|package" >&2
  exit 2
  ;;
esac

missing_of() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -qx 'install ok installed' ||
      echo "$package"
  done
}

mapfile -t missing < <(missing_of "${packages[@]}")
if [ ${#missing[@]} -gt 0 ]; then
  how="apt-get install ${missing[*]}"
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || {
      echo "$0: missing Debian packages: ${missing[*]}; there is no sudo here, so install them as root: $how" >&2
      exit 1
    }
    sudo=(sudo)
    how="sudo $how"
  fi
  echo "Installing: ${missing[*]}"
  log=$(mktemp)
  if ! { "${sudo[@]}" apt-get update -qq &&
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
      apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
    mapfile -t still < <(missing_of "${missing[@]}")
    echo "$0: could not install ${still[*]:-${missing[*]}} (no network or no Debian mirror?), see $log; install them with: $how" >&2
    exit 1
  fi
  rm -f "$log"
fi

# npm ci starts from scratch; run it only when the lock file changed. A failed
# run leaves no half-filled node_modules behind for the build to take.
if [ ! node_modules/.package-lock.json -nt package-lock.json ]; then
  log=$(mktemp)
  if ! npm ci --no-audit --no-fund --fetch-retries=1 >"$log" 2>&1; then
    rm -rf node_modules
    echo "$0: npm ci could not fetch the pinned Flash player (@ruffle-rs/ruffle; no network for the npm registry?), see $log; try again with: npm ci" >&2
    exit 1
  fi
  rm -f "$log"
fi
