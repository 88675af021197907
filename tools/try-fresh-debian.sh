#!/usr/bin/env bash
# The README's two commands as a newcomer runs them: on a clean Debian 12 made
# for the purpose (a minimal root from debootstrap holding only make and
# sudo), a normal user with sudo rights gets a clean clone of this project,
# runs `make run` (the window must show the demo library; it is then closed)
# and `make test`, which must pass. Prints how long each step took. Needs root
# and Debian's and npm's registries, fetches some 500 MB and takes a while, so
# it is not part of make test.
# Usage: tools/try-fresh-debian.sh   (KEEP=1 keeps the new system in /var/tmp)
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "$0: needs root (debootstrap, chroot)" >&2; exit 2; }
project=$(cd "$(dirname "$0")/.." && pwd)
source "$project/tests/support/xsession.sh"

command -v debootstrap >/dev/null ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)
root=$(mktemp -d /var/tmp/fresh-debian.XXXXXX)
chmod 755 "$root" # the root of the new system, which its users must enter
mounted=()
finish() {
  local status=$? i
  [ -z "${run:-}" ] || kill "$run" 2>/dev/null || true
  stop_x
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" || true; done
  [ -n "${KEEP:-}" ] || rm -rf --one-file-system "$root"
  exit $status
}
trap finish EXIT
step() { # NAME: prints the time the step before took
  local now=$SECONDS
  [ -z "${step_name:-}" ] || printf '%-40s %4d s\n' "$step_name" $((now - step_start))
  step_name=$1 step_start=$now
}

step "debootstrap (minbase, make, sudo)"
debootstrap --variant=minbase --include=make,sudo bookworm "$root" \
  "${mirror:-http://deb.debian.org/debian}" >"$root.log" 2>&1 ||
  { tail "$root.log"; fail "debootstrap failed"; }
rm -f "$root.log"
for place in proc sys dev dev/pts dev/shm; do
  mkdir -p "$root/$place"
  mount --bind "/$place" "$root/$place"
  mounted+=("$root/$place")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
# Where this machine reaches the registries through a proxy whose authority
# it trusts locally, the new system trusts it too, as the machine's own users
# do (the certificates go in when apt installs ca-certificates).
mkdir -p "$root/usr/local/share/ca-certificates"
cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/" 2>/dev/null || true
chroot "$root" useradd -m -s /bin/bash newcomer
echo 'newcomer ALL=(ALL) NOPASSWD: ALL' >"$root/etc/sudoers.d/newcomer"
chmod 440 "$root/etc/sudoers.d/newcomer"
git clone -q --no-local "$project" "$root/home/newcomer/pelliwick"
chroot "$root" chown -R newcomer: /home/newcomer/pelliwick
as_newcomer() { # COMMAND: runs it in the project folder as the newcomer
  chroot "$root" runuser -u newcomer -- env -i HOME=/home/newcomer LANG=C.UTF-8 \
    PATH=/usr/local/bin:/usr/bin:/bin:/usr/games ${DISPLAY:+DISPLAY=$DISPLAY} \
    ${NODE_EXTRA_CA_CERTS:+NODE_EXTRA_CA_CERTS=$NODE_EXTRA_CA_CERTS} \
    bash -c "cd ~/pelliwick && $1"
}

# make run shows its window on an X server of this machine, whose socket is
# lent to the new system until the window was seen.
start_x
socket=/tmp/.X11-unix/X${DISPLAY#:}
mkdir -p "$root/tmp/.X11-unix"
chmod 1777 "$root/tmp/.X11-unix"
touch "$root$socket"
mount --bind "$socket" "$root$socket"
mounted+=("$root$socket")

step "make run, to the window"
as_newcomer "make run" >"$root/make-run.log" 2>&1 &
run=$!
until xdotool search --onlyvisible --name '^Pelliwick' >/dev/null 2>&1; do
  kill -0 "$run" 2>/dev/null || { tail -n 30 "$root/make-run.log"; fail "make run ended without a window"; }
  sleep 1
done
shot=$root/make-run.png
wait_for 30 lists 2 || fail "the window does not list the two demo games of Action"
cp "$shot" "${SHOT:-/dev/null}" 2>/dev/null || true
step "closing the window"
kill "$(xdotool search --onlyvisible --name '^Pelliwick' getwindowpid)"
wait "$run" 2>/dev/null || true
run=
umount "$root$socket"
unset 'mounted[-1]'
rm -f "$root$socket"
unset DISPLAY

step "make test"
as_newcomer "make test" >"$root/make-test.log" 2>&1 ||
  { tail -n 60 "$root/make-test.log"; fail "make test failed on a fresh Debian 12"; }
grep -E '^[0-9]+% tests passed|Skipped|Not Run' "$root/make-test.log"
step "done"
echo "PASS: a newcomer's make run showed the window and make test passed on a fresh Debian 12"
