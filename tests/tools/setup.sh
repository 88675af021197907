#!/usr/bin/env bash
# tools/setup.sh where it cannot do its work: no sudo for a user who lacks a
# package, no network for apt-get, no network for npm. Each time it must say
# in one line what is missing and how to get it, fail, and leave no half-made
# node_modules; with everything there it must do nothing. On each Debian
# release it asks for that release's package names; on a system it does not
# know it says so in one line and asks for those of the nearest. It runs on a
# copy of the project, with stand-ins for dpkg-query, apt-get, sudo, npm and
# /etc/os-release.
# Usage: setup.sh TOOLS_SETUP_SH
set -euo pipefail
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"

project=$work/project
mkdir -p "$project/tools"
cp "$1" "$project/tools/setup.sh"
echo '{}' >"$project/package-lock.json"

# Only the commands the set-up needs, so that "no sudo" means none on PATH.
bin=$work/bin
mkdir "$bin"
for command in bash env grep id dirname mktemp rm; do
  ln -s "$(command -v "$command")" "$bin/$command"
done
# The stand-ins log their calls; dpkg-query reports the packages named in
# $MISSING (all of them for "all") as not installed; apt-get fails for want of
# a network unless $APT says it works.
cat >"$bin/dpkg-query" <<'STANDIN'
#!/usr/bin/env bash
for name in $MISSING; do
  [ "$name" != all ] && [ "${!#}" != "$name" ] || { echo "unknown ok not-installed"; exit 0; }
done
echo "install ok installed"
STANDIN
cat >"$bin/apt-get" <<'STANDIN'
#!/usr/bin/env bash
echo "apt-get $*" >>"$CALLS"
[ -z "$APT" ] || exit 0
echo "E: Failed to fetch http://deb.example/pool/x.deb  Temporary failure resolving 'deb.example'" >&2
exit 100
STANDIN
cat >"$bin/npm" <<'STANDIN'
#!/usr/bin/env bash
echo "npm $*" >>"$CALLS"
mkdir -p node_modules/@ruffle-rs/ruffle
echo "npm error network request failed, reason: getaddrinfo EAI_AGAIN" >&2
exit 1
STANDIN
chmod 755 "$bin/dpkg-query" "$bin/apt-get" "$bin/npm"
with_sudo=$work/with-sudo
mkdir "$with_sudo"
printf '#!/usr/bin/env bash\necho "sudo $*" >>"$CALLS"\nexec "$@"\n' >"$with_sudo/sudo"
chmod 755 "$with_sudo/sudo"

# setup GROUP PATH_PREFIX [ordinary]: runs the copy, its messages in $err, on
# the system that $work/os-release describes (Debian 12 unless a test says).
err=$work/err
os_release=$work/os-release
printf 'ID=debian\nVERSION_ID="12"\n' >"$os_release"
setup() {
  local as=()
  [ "${3:-}" != ordinary ] || [ "$(id -u)" -ne 0 ] || as=(runuser -u nobody --)
  : >"$work/calls"
  chmod 666 "$work/calls"
  status=0
  "${as[@]}" env -i PATH="$2$bin" MISSING="${MISSING:-}" APT="${APT:-}" CALLS="$work/calls" \
    PELLIWICK_OS_RELEASE="$os_release" \
    "$project/tools/setup.sh" "$1" >/dev/null 2>"$err" || status=$?
}
one_line_saying() { # what must be in it
  [ "$(grep -c . "$err")" -eq 1 ] || fail "not one line: $(cat "$err")"
  local part
  for part in "$@"; do
    grep -qF -- "$part" "$err" || fail "does not say '$part': $(cat "$err")"
  done
}

# Everything there: nothing is installed, nothing is fetched.
touch -d '1 hour ago' "$project/package-lock.json"
mkdir -p "$project/node_modules"
touch "$project/node_modules/.package-lock.json"
MISSING="" setup test ""
[ $status -eq 0 ] || fail "with everything there it failed: $(cat "$err")"
[ ! -s "$work/calls" ] || fail "with everything there it ran $(cat "$work/calls")"

# A package missing, an ordinary user, no sudo.
chmod -R a+rwX "$project"
MISSING="xdotool" setup test "" ordinary
[ $status -ne 0 ] || fail "without sudo it succeeded"
one_line_saying xdotool "apt-get install xdotool" "no sudo"
[ ! -s "$work/calls" ] || fail "without sudo it ran $(cat "$work/calls")"

# A package missing, sudo there, no network for apt-get.
MISSING="lintian qemu-user" setup test "$with_sudo:"
[ $status -ne 0 ] || fail "without a network for apt-get it succeeded"
one_line_saying "lintian qemu-user" "apt-get install lintian qemu-user" "no network"
grep -q '^apt-get update' "$work/calls" || fail "apt-get was not tried"

# A changed lock file, no network for npm: no half-filled node_modules is left
# for the build to take as the Flash player.
touch "$project/package-lock.json"
MISSING="" setup run ""
[ $status -ne 0 ] || fail "without a network for npm it succeeded"
one_line_saying "npm ci" "@ruffle-rs/ruffle"
[ ! -e "$project/node_modules" ] || fail "a failed npm ci left node_modules behind"
# Each release's own package names, asked of apt-get when nothing is there;
# a system the set-up does not know is told so, and gets the nearest's names.
asks_for() { # OS_RELEASE_LINES [-]FONT_PACKAGE...: "-" for one it must not ask for
  if [ -n "$1" ]; then printf '%b\n' "$1" >"$os_release"; else rm -f "$os_release"; fi
  shift
  MISSING=all APT=works setup run "$with_sudo:"
  [ $status -eq 0 ] || fail "with apt-get working it failed: $(cat "$err")"
  local install package
  install=$(grep '^apt-get install' "$work/calls") || fail "nothing was installed"
  for package in "$@"; do
    if [[ $package == -* ]]; then
      ! grep -qw -- "${package#-}" <<<"$install" || fail "asked for ${package#-}: $install"
    else
      grep -qw -- "$package" <<<"$install" || fail "did not ask for $package: $install"
    fi
  done
}
touch -d '1 hour ago' "$project/package-lock.json"
mkdir "$project/node_modules"
touch "$project/node_modules/.package-lock.json"
asks_for 'ID=debian\nVERSION_ID="12"' fonts-liberation2 -fonts-liberation qt6-webengine-dev
[ ! -s "$err" ] || fail "on Debian 12 it said $(cat "$err")"
asks_for 'ID=debian\nVERSION_ID="13"' fonts-liberation -fonts-liberation2 qt6-webengine-dev
[ ! -s "$err" ] || fail "on Debian 13 it said $(cat "$err")"
asks_for 'PRETTY_NAME="Debian GNU/Linux 14 (forky)"\nID=debian\nVERSION_ID="14"' fonts-liberation
one_line_saying "Debian GNU/Linux 14" "knows Debian 12 and 13" "of Debian 13"
asks_for 'PRETTY_NAME="Ubuntu 24.04 LTS"\nID=ubuntu\nVERSION_ID="24.04"' fonts-liberation
one_line_saying "Ubuntu 24.04" "knows Debian 12 and 13" "of Debian 13"
asks_for 'ID=debian\nVERSION_ID="11"' fonts-liberation2
one_line_saying "knows Debian 12 and 13" "of Debian 12"
asks_for "" fonts-liberation
one_line_saying "without /etc/os-release" "knows Debian 12 and 13"
echo "PASS: the set-up asks for each release's packages, says what is missing and how to get it, and installs nothing by halves"
