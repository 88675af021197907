#!/usr/bin/env bash
# tools/setup.sh where it cannot do its work: no sudo for a user who lacks a
# package, no network for apt-get, no network for npm. Each time it must say
# in one line what is missing and how to get it, fail, and leave no half-made
# node_modules; with everything there it must do nothing. It runs on a copy of
# the project, with stand-ins for dpkg-query, apt-get, sudo and npm.
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
# $MISSING as not installed.
cat >"$bin/dpkg-query" <<'STANDIN'
#!/usr/bin/env bash
for name in $MISSING; do [ "${!#}" != "$name" ] || { echo "unknown ok not-installed"; exit 0; }; done
echo "install ok installed"
STANDIN
cat >"$bin/apt-get" <<'STANDIN'
#!/usr/bin/env bash
echo "apt-get $*" >>"$CALLS"
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

# setup GROUP PATH_PREFIX [ordinary]: runs the copy, its messages in $err.
err=$work/err
setup() {
  local as=()
  [ "${3:-}" != ordinary ] || [ "$(id -u)" -ne 0 ] || as=(runuser -u nobody --)
  : >"$work/calls"
  chmod 666 "$work/calls"
  status=0
  "${as[@]}" env -i PATH="$2$bin" MISSING="${MISSING:-}" CALLS="$work/calls" \
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
echo "PASS: the set-up says what is missing and how to get it, and installs nothing by halves"
