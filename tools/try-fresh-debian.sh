#!/usr/bin/env bash
# The README's two commands as a newcomer runs them: on a clean Debian of the
# release RELEASE names (12 or 13; 12 when unset), made for the purpose (a
# minimal root from debootstrap holding only make and sudo), a normal user
# with sudo rights gets a clean clone of this project, runs `make run` (the
# window must show the demo library; it is then closed) and `make test`,
# which must pass; neither may warn. Prints how long each step took. Needs root
# and Debian's and npm's registries, fetches some 500 MB and takes a while, so
# it is not part of make test.
# Usage: [RELEASE=13] tools/try-fresh-debian.sh   (KEEP=1 keeps the new system
# in /var/tmp)
set -euo pipefail
project=$(cd "$(dirname "$0")/.." && pwd)
source "$project/tests/support/xsession.sh"
source "$project/tools/clean-debian.sh"

finish() {
  local status=$?
  [ -z "${run:-}" ] || kill "$run" 2>/dev/null || true
  stop_x
  remove_clean_debian
  exit $status
}
trap finish EXIT
step() { # NAME: prints the time the step before took
  local now=$SECONDS
  [ -z "${step_name:-}" ] || printf '%-40s %4d s\n' "$step_name" $((now - step_start))
  step_name=$1 step_start=$now
}

step "debootstrap (minbase, make, sudo)"
make_clean_debian fresh-debian make,sudo
add_newcomer "$project"

# make run shows its window on an X server of this machine, lent to the new
# system until the window was seen.
start_x
lend_x

step "make run, to the window"
as_newcomer "make run" >"$root/make-run.log" 2>&1 &
run=$!
until xdotool search --onlyvisible --name '^Pelliwick' >/dev/null 2>&1; do
  kill -0 "$run" 2>/dev/null || { tail -n 30 "$root/make-run.log"; fail "make run ended without a window"; }
  sleep 1
done
shot=$root/make-run.png
# The first start after a long build, on a machine that may be busy: a
# ceiling against a hang, not a measure.
wait_for 90 lists 1 || fail "the window does not list the demo game of Action"
cp "$shot" "${SHOT:-/dev/null}" 2>/dev/null || true
step "closing the window"
kill "$(xdotool search --onlyvisible --name '^Pelliwick' getwindowpid)"
wait "$run" 2>/dev/null || true
run=
take_back_x
# Neither the build nor the start warns; the program says at most that no GPU
# was found.
started='^cd build && ./pelliwick$'
said=$({
  sed "\\#$started#q" "$root/make-run.log" | grep -iE 'warn|deprecat'
  sed "1,\\#$started#d" "$root/make-run.log" | grep -v -e '^make: ' -e '^Terminated$' -e 'no GPU found'
} || true)
[ -z "$said" ] || { echo "$said"; fail "make run warned"; }

step "make test"
status=0
as_newcomer "make test" >"$root/make-test.log" 2>&1 || status=$?
! sed '/^Test project /q' "$root/make-test.log" | grep -iE 'warn|deprecat' ||
  fail "the build of make test warned"
[ $status -eq 0 ] ||
  { tail -n 60 "$root/make-test.log"; fail "make test failed on a fresh Debian $RELEASE"; }
grep -E '^[0-9]+% tests passed|Skipped|Not Run' "$root/make-test.log"
step "done"
echo "PASS: a newcomer's make run showed the window and make test passed on a fresh Debian $RELEASE"
