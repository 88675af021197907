# Shared by the trials on a clean Debian: a minimal root made by debootstrap
# in /var/tmp, of the release RELEASE names (12 or 13; 12 when unset), lent
# this machine's /proc, /sys and /dev, its resolver and the certificate
# authorities it trusts locally (where it reaches the registries through a
# proxy, the new system must trust that too); undone and removed again on
# exit, unless KEEP is set. Sourced, not run, by itself or after
# tests/support/xsession.sh; needs root.
declare -F fail >/dev/null || fail() {
  echo "FAIL: $*" >&2
  exit 1
}
[ "$(id -u)" -eq 0 ] || { echo "$0: needs root (debootstrap, chroot)" >&2; exit 2; }
case "${RELEASE:=12}" in
12) codename=bookworm ;;
13) codename=trixie ;;
*) echo "$0: RELEASE=$RELEASE: the trials know Debian 12 and 13" >&2; exit 2 ;;
esac
command -v debootstrap >/dev/null ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
mounted=()

# bind_mount FROM TO: lends FROM (a folder or a file) to the new system.
bind_mount() {
  if [ -d "$1" ]; then mkdir -p "$2"; else touch "$2"; fi
  mount --bind "$1" "$2"
  mounted+=("$2")
}

# make_clean_debian NAME [PACKAGES]: the new system in $root, holding
# debootstrap's minimal set and PACKAGES (comma-separated).
make_clean_debian() {
  local mirror place
  mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1) ||
    true
  root=$(mktemp -d "/var/tmp/$1.XXXXXX")
  chmod 755 "$root" # the root of the new system, which its users must enter
  echo "Making a clean Debian $RELEASE ($codename) in $root"
  debootstrap --variant=minbase ${2:+--include=$2} "$codename" "$root" \
    "${mirror:-http://deb.debian.org/debian}" >"$root.log" 2>&1 ||
    { tail "$root.log"; fail "debootstrap failed"; }
  rm -f "$root.log"
  for place in proc sys dev dev/pts dev/shm; do
    bind_mount "/$place" "$root/$place"
  done
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  mkdir -p "$root/usr/local/share/ca-certificates"
  cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/" 2>/dev/null ||
    true
}

# Undoes the mounts, newest first, and removes the new system.
remove_clean_debian() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" || true; done
  [ -z "${root:-}" ] || [ -n "${KEEP:-}" ] || rm -rf --one-file-system "$root"
}

# add_newcomer PROJECT: a normal user, newcomer, with sudo rights, the
# runtime folder a desktop session gives its user, and a clean clone of
# PROJECT (its last commit) in ~/pelliwick.
add_newcomer() {
  chroot "$root" useradd -m -s /bin/bash newcomer
  chroot "$root" install -d -m 700 -o newcomer /run/user/newcomer
  echo 'newcomer ALL=(ALL) NOPASSWD: ALL' >"$root/etc/sudoers.d/newcomer"
  chmod 440 "$root/etc/sudoers.d/newcomer"
  git clone -q --no-local "$1" "$root/home/newcomer/pelliwick"
  chroot "$root" chown -R newcomer: /home/newcomer/pelliwick
}

# as_newcomer COMMAND: runs it in the project folder as the newcomer, on the
# X server lent to the new system, if any. No locale is set, as on a minimal
# system or in an SSH session that passes none: the program must start
# silent and its tests pass all the same.
as_newcomer() {
  chroot "$root" runuser -u newcomer -- env -i HOME=/home/newcomer \
    PATH=/usr/local/bin:/usr/bin:/bin:/usr/games XDG_RUNTIME_DIR=/run/user/newcomer \
    ${DISPLAY:+DISPLAY=$DISPLAY} \
    ${NODE_EXTRA_CA_CERTS:+NODE_EXTRA_CA_CERTS=$NODE_EXTRA_CA_CERTS} \
    bash -c "cd ~/pelliwick && $1"
}

# lend_x: lends the X server of this machine that $DISPLAY names (its socket)
# to the new system; take_back_x takes it back (it must be the newest mount).
lend_x() {
  x_socket=/tmp/.X11-unix/X${DISPLAY#:}
  mkdir -p "$root/tmp/.X11-unix"
  chmod 1777 "$root/tmp/.X11-unix"
  bind_mount "$x_socket" "$root$x_socket"
}
take_back_x() {
  umount "$root$x_socket"
  unset 'mounted[-1]'
  rm -f "$root$x_socket"
  unset DISPLAY
}
