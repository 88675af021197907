#!/usr/bin/env bash
# Installs the Debian package on a clean Debian 12 made for the purpose (a
# minimal root from debootstrap), with nothing else added, starts it there as
# a new normal user under a private X server of this machine, and checks what
# that user gets: a program folder of their own, and the window listing and
# playing a game put into it. Needs root and Debian's mirror, fetches some
# 200 MB of packages and takes a few minutes, so it is not part of make test.
# Usage: tools/try-package-on-clean-debian.sh PACKAGE.deb SWF_WRITER
# (KEEP=1 keeps the new system in /var/tmp for a look afterwards.)
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 PACKAGE.deb SWF_WRITER" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "$0: needs root (debootstrap, chroot)" >&2; exit 2; }
source "$(dirname "$0")/../tests/support/xsession.sh"
deb=$(readlink -f "$1") swf=$(readlink -f "$2")

command -v debootstrap >/dev/null ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)
root=$(mktemp -d /var/tmp/clean-debian.XXXXXX)
chmod 755 "$root" # the root of the new system, which its users must enter
mounted=()
finish() {
  local status=$? i
  [ $status -eq 0 ] || tail -n 20 "$root/stderr.log" 2>/dev/null || true
  [ -z "${app:-}" ] || { kill "$app" && wait "$app"; } 2>/dev/null || true
  stop_x
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" || true; done
  [ -n "${KEEP:-}" ] || rm -rf --one-file-system "$root"
  exit $status
}
trap finish EXIT

echo "Making a clean Debian 12 in $root"
debootstrap --variant=minbase bookworm "$root" "${mirror:-http://deb.debian.org/debian}" \
  >"$root.log" 2>&1 || { tail "$root.log"; fail "debootstrap failed"; }
rm -f "$root.log"
for place in proc sys dev dev/pts dev/shm tmp/.X11-unix; do
  mkdir -p "$root/$place"
  mount --bind "/$place" "$root/$place"
  mounted+=("$root/$place")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/pelliwick.deb"

echo "Installing the package with apt"
chroot "$root" apt-get update -qq
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y ./pelliwick.deb |
  grep -E '^(Need to get|After this operation|[0-9]+ upgraded)'
chroot "$root" useradd -m player
folder="$root/home/player/.local/share/pelliwick"

start_x
shot="$root/shot.png"
start() {
  chroot "$root" runuser -u player -- env -i HOME=/home/player DISPLAY="$DISPLAY" \
    PATH=/usr/bin:/bin:/usr/games pelliwick >"$root/stdout.log" 2>"$root/stderr.log" &
  app=$!
  window_named '^Pelliwick 1\.1$' >/dev/null
}

echo "First start as a new user"
start
for category in Action Adventure Classic Shooting Sport Board Other; do
  [ -d "$folder/$category" ] || fail "no $category folder for the user"
done
cat "$root/stdout.log"
kill "$app"
wait "$app" 2>/dev/null || true

echo "A game of the user's own"
"$swf" solid --color C81E1E --out "$folder/Action/Red Alert.swf"
chroot "$root" chown player: "/home/player/.local/share/pelliwick/Action/Red Alert.swf"
start
wait_for 30 lists 1 || fail "the user's game is not listed"
click $(line 0)
wait_for 30 plays 200,30,30 || fail "the user's game does not play"
echo "PASS: installed with its dependencies on a clean Debian 12; the user's game plays"
