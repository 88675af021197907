#!/usr/bin/env bash
# Installs the Debian package on a clean Debian made for the purpose (a
# minimal root from debootstrap) of the release the package was made for (or
# the one RELEASE names), with nothing else added, starts it there as
# a new normal user under a private X server of this machine, and checks what
# that user gets: a program folder of their own, and the window listing and
# playing a game put into it. Needs root and Debian's mirror, fetches some
# 200 MB of packages and takes a few minutes, so it is not part of make test.
# Usage: tools/try-package-on-clean-debian.sh PACKAGE.deb SWF_WRITER
# (KEEP=1 keeps the new system in /var/tmp for a look afterwards.)
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 PACKAGE.deb SWF_WRITER" >&2; exit 2; }
deb=$(readlink -f "$1") swf=$(readlink -f "$2")
# The release the package was made for, which its version names (1.1~deb13).
version=$(dpkg-deb -f "$deb" Version)
[[ $version != *~deb* ]] || export RELEASE=${RELEASE:-${version##*~deb}}
source "$(dirname "$0")/../tests/support/xsession.sh"
source "$(dirname "$0")/clean-debian.sh"

finish() {
  local status=$?
  [ $status -eq 0 ] || tail -n 20 "$root/stderr.log" 2>/dev/null || true
  [ -z "${app:-}" ] || { kill "$app" && wait "$app"; } 2>/dev/null || true
  stop_x
  remove_clean_debian
  exit $status
}
trap finish EXIT

make_clean_debian clean-debian
bind_mount /tmp/.X11-unix "$root/tmp/.X11-unix"
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
  window_named "$main_window" >/dev/null
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
echo "PASS: installed with its dependencies on a clean Debian $RELEASE; the user's game plays"
